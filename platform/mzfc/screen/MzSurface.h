// The framework's drawing target (HDC): the screen surface seen through a window,
// with the window's origin and the clip of the area being repainted.
#pragma once

#include "windows/MzInside.h"

#include "ce/CeTypes.h"

struct SDL_Surface;

struct MzSurface {
    SDL_Surface* target = nullptr;
    int originX = 0; // screen position of the window's (0, 0)
    int originY = 0;
    RECT clip{0, 0, 0, 0}; // in screen pixels
};
