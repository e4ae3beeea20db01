// A loaded picture (HBITMAP) with its copies scaled to the sizes it is drawn at.
// Pictures loaded from the same file share one MzBitmap while any holder keeps it.
#pragma once

#include "windows/MzInside.h"

#include "ce/CeTypes.h"

#include <map>
#include <memory>
#include <utility>

struct SDL_Surface;

struct MzBitmap {
    // PNG (or any format SDL_image reads); null on failure.
    static std::shared_ptr<MzBitmap> Load(LPCWSTR cePath);
    static MzBitmap* Adopt(SDL_Surface* surface); // takes ownership; converts to ARGB8888
    ~MzBitmap();
    MzBitmap(const MzBitmap&) = delete;
    MzBitmap& operator=(const MzBitmap&) = delete;

    int Width() const;
    int Height() const;
    SDL_Surface* Surface() const { return surface_; }
    // The picture smoothly scaled to w x h, kept for the next paint; null for sizes
    // beyond the screen's reach.
    SDL_Surface* Scaled(int w, int h);

private:
    explicit MzBitmap(SDL_Surface* surface) : surface_(surface) {}
    SDL_Surface* surface_;
    std::map<std::pair<int, int>, SDL_Surface*> scaled_;
};
