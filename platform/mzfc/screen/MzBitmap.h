// A loaded picture (HBITMAP) with its copies scaled to the sizes it is drawn at.
// Pictures loaded from the same file share one MzBitmap while any holder keeps it.
#pragma once

#include "windows/MzInside.h"

#include "ce/CeTypes.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <utility>

struct SDL_Surface;

struct MzBitmap {
    // Limits of a picture file, checked before it is decoded: the game's largest
    // picture is 83 KB and 720 x 518 pixels, the screen 720 x 480.
    static constexpr size_t kMaxBytes = 4u << 20;
    static constexpr uint32_t kMaxSide = 2048;
    // A PNG within the limits; null, with one line on stderr, on failure.
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
