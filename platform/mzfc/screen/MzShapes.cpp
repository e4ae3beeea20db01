#include "screen/MzShapes.h"

#include "mzfc/MzPalette.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

namespace {

uint32_t Channel(uint32_t argb, int shift) {
    return (argb >> shift) & 0xFF;
}

uint32_t Mix(uint32_t a, uint32_t b, double t) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        double v =
            Channel(a, shift) + (static_cast<double>(Channel(b, shift)) - Channel(a, shift)) * t;
        out |= static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 255.0))) << shift;
    }
    return out;
}

// Blends argb over the pixel with its alpha scaled by coverage (0 to 1).
void Blend(uint32_t& pixel, uint32_t argb, double coverage) {
    const uint32_t a = static_cast<uint32_t>(Channel(argb, 24) * coverage + 0.5);
    if (a == 0)
        return;
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
        out |= ((Channel(argb, shift) * a + Channel(pixel, shift) * (255 - a) + 127) / 255)
               << shift;
    pixel = out;
}

// The part of the target a window rectangle covers, cut to the clip; false if none.
bool Area(MzSurface* hdc, const RECT& rect, SDL_Rect& area) {
    if (!hdc || !hdc->target || hdc->target->format->BytesPerPixel != 4)
        return false;
    int l = std::max<int>({hdc->clip.left, 0, hdc->originX + rect.left});
    int t = std::max<int>({hdc->clip.top, 0, hdc->originY + rect.top});
    int r = std::min<int>({hdc->clip.right, hdc->target->w, hdc->originX + rect.right});
    int b = std::min<int>({hdc->clip.bottom, hdc->target->h, hdc->originY + rect.bottom});
    area = SDL_Rect{l, t, r - l, b - t};
    return area.w > 0 && area.h > 0;
}

} // namespace

uint32_t MzShapes::Shade(uint32_t argb, double factor) {
    const uint32_t alpha = argb & 0xFF000000u;
    if (factor <= 1)
        return alpha | (Mix(argb, 0, 1 - factor) & 0xFFFFFF);
    return alpha | (Mix(argb, 0xFFFFFF, factor - 1) & 0xFFFFFF);
}

void MzShapes::RoundRect(MzSurface* hdc, const RECT& rect, int radius, uint32_t top,
                         uint32_t bottom) {
    SDL_Rect area;
    if (!Area(hdc, rect, area))
        return;
    SDL_Surface* s = hdc->target;
    const double left = hdc->originX + rect.left, right = hdc->originX + rect.right;
    const double upper = hdc->originY + rect.top, lower = hdc->originY + rect.bottom;
    const double rad = std::clamp<double>(radius, 0, std::min(right - left, lower - upper) / 2);
    const double span = std::max(1.0, lower - upper - 1);
    if (SDL_LockSurface(s) != 0)
        return;
    for (int y = area.y; y < area.y + area.h; ++y) {
        uint32_t* row =
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
        const uint32_t colour = Mix(top, bottom, (y - upper) / span);
        const bool opaque = (colour >> 24) == 0xFF;
        const double py = y + 0.5;
        const double cy = std::clamp(py, upper + rad, lower - rad);
        // Between the corners every pixel is covered: the common case, kept fast.
        int from = area.x, to = area.x + area.w;
        if (rad > 0) {
            from = std::max(from, static_cast<int>(std::ceil(left + rad - 0.5)));
            to = std::min(to, static_cast<int>(std::floor(right - rad - 0.5)) + 1);
            if (cy != py) // in a corner's band: only the middle is wholly covered
                to = from;
        }
        for (int x = area.x; x < area.x + area.w; ++x) {
            if (x >= from && x < to) {
                if (opaque) {
                    SDL_Rect span{x, y, to - x, 1};
                    SDL_FillRect(s, &span, colour);
                } else {
                    for (int i = x; i < to; ++i)
                        Blend(row[i], colour, 1);
                }
                x = to - 1;
                continue;
            }
            const double px = x + 0.5;
            const double cx = std::clamp(px, left + rad, right - rad);
            const double coverage =
                rad > 0 ? std::clamp(rad + 0.5 - std::hypot(px - cx, py - cy), 0.0, 1.0) : 1.0;
            if (coverage >= 1 && opaque)
                row[x] = colour;
            else
                Blend(row[x], colour, coverage);
        }
    }
    SDL_UnlockSurface(s);
}

void MzShapes::OutlinedRoundRect(MzSurface* hdc, const RECT& rect, int radius, int thickness,
                                 uint32_t outline, uint32_t top, uint32_t bottom) {
    RoundRect(hdc, rect, radius, outline, outline);
    const RECT inner{rect.left + thickness, rect.top + thickness, rect.right - thickness,
                     rect.bottom - thickness};
    RoundRect(hdc, inner, std::max(0, radius - thickness), top, bottom);
}

void MzShapes::Shadow(MzSurface* hdc, const RECT& rect, int radius, int spread, uint32_t argb) {
    // Stacked translucent layers, growing outwards, make a soft edge.
    const uint32_t alpha = Channel(argb, 24);
    const int layers = std::max(1, spread);
    const uint32_t layer = (std::max(1u, alpha / layers) << 24) | (argb & 0xFFFFFF);
    for (int i = layers; i >= 1; --i) {
        RECT r{rect.left - i, rect.top - i, rect.right + i, rect.bottom + i};
        RoundRect(hdc, r, radius + i, layer, layer);
    }
}

RECT MzShapes::CandyKey(MzSurface* hdc, const RECT& rect, uint32_t base, bool pressed) {
    using namespace MzPalette;
    const int depth = pressed ? 2 : 5;
    const int sink = pressed ? 3 : 0;
    const int h = rect.bottom - rect.top;
    const int bodyH = std::max(8, h - 9);
    const int radius = std::min(18, bodyH / 2);
    // The soft shadow on the ground, then the dark edge, then the body on top.
    RoundRect(hdc, RECT{rect.left + 2, rect.top + 8, rect.right - 1, rect.bottom}, radius,
              pressed ? 0x29000000 : 0x38000000, pressed ? 0x29000000 : 0x38000000);
    const RECT edge{rect.left, rect.top + sink + depth, rect.right - 3,
                    rect.top + sink + depth + bodyH};
    OutlinedRoundRect(hdc, edge, radius, 2, kOutline, Shade(base, 0.62), Shade(base, 0.62));
    const uint32_t face = pressed ? Shade(base, 0.8) : base;
    const RECT body{rect.left, rect.top + sink, rect.right - 3, rect.top + sink + bodyH};
    OutlinedRoundRect(hdc, body, radius, 2, kOutline, Shade(face, 1.38), Shade(face, 0.82));
    const RECT gloss{body.left + 5, body.top + 3, body.right - 5, body.top + 3 + bodyH * 42 / 100};
    RoundRect(hdc, gloss, std::max(2, radius * 7 / 10), 0x8CFFFFFF, 0x14FFFFFF);
    return body;
}
