#include "testing/TestImage.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdlib>
#include <cstring>

bool TestImage::Load(const std::string& path) {
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (loaded == nullptr)
        return false;
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    if (converted == nullptr)
        return false;
    bool ok = SDL_LockSurface(converted) == 0;
    if (ok) {
        const size_t row = static_cast<size_t>(converted->w) * 4;
        rgba.assign(row * static_cast<size_t>(converted->h), 0);
        const auto* pixels = static_cast<const uint8_t*>(converted->pixels);
        for (int y = 0; y < converted->h; ++y)
            std::memcpy(rgba.data() + row * static_cast<size_t>(y),
                        pixels + static_cast<size_t>(converted->pitch) * static_cast<size_t>(y),
                        row);
        width = converted->w;
        height = converted->h;
        SDL_UnlockSurface(converted);
    }
    SDL_FreeSurface(converted);
    return ok;
}

double TestImage::DifferingShare(const TestImage& a, const TestImage& b, int tolerance) {
    if (a.width != b.width || a.height != b.height || a.width == 0) {
        return 1.0;
    }
    size_t differing = 0;
    const size_t pixels = static_cast<size_t>(a.width) * static_cast<size_t>(a.height);
    for (size_t p = 0; p < pixels; ++p) {
        for (int c = 0; c < 3; ++c) {
            if (std::abs(a.rgba[p * 4 + c] - b.rgba[p * 4 + c]) > tolerance) {
                ++differing;
                break;
            }
        }
    }
    return static_cast<double>(differing) / static_cast<double>(pixels);
}
