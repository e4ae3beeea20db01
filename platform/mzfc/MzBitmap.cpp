#include "mzfc/MzBitmap.h"

#include "mzfc/MzHostPath.h"

#include <SDL.h>
#include <SDL_image.h>

MzBitmap* MzBitmap::Load(LPCWSTR cePath) {
    std::string host = MzHostPath::ForReading(cePath);
    if (host.empty())
        return nullptr;
    SDL_Surface* loaded = IMG_Load(host.c_str());
    return loaded ? Adopt(loaded) : nullptr;
}

MzBitmap* MzBitmap::Adopt(SDL_Surface* surface) {
    if (!surface)
        return nullptr;
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(surface);
    if (!converted)
        return nullptr;
    SDL_SetSurfaceBlendMode(converted, SDL_BLENDMODE_BLEND);
    return new MzBitmap(converted);
}

MzBitmap::~MzBitmap() {
    for (auto& entry : scaled_)
        SDL_FreeSurface(entry.second);
    SDL_FreeSurface(surface_);
}

int MzBitmap::Width() const {
    return surface_->w;
}
int MzBitmap::Height() const {
    return surface_->h;
}

SDL_Surface* MzBitmap::Scaled(int w, int h) {
    if (w <= 0 || h <= 0)
        return nullptr;
    if (w == surface_->w && h == surface_->h)
        return surface_;
    auto key = std::make_pair(w, h);
    auto it = scaled_.find(key);
    if (it != scaled_.end())
        return it->second;
    if (scaled_.size() >= 8) { // a control resized again and again: keep memory bounded
        for (auto& entry : scaled_)
            SDL_FreeSurface(entry.second);
        scaled_.clear();
    }
    SDL_Surface* out = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!out)
        return nullptr;
    if (SDL_SoftStretchLinear(surface_, nullptr, out, nullptr) != 0)
        SDL_SoftStretch(surface_, nullptr, out, nullptr);
    SDL_SetSurfaceBlendMode(out, SDL_BLENDMODE_BLEND);
    scaled_[key] = out;
    return out;
}
