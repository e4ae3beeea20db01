// Smooth shapes on an HDC in window coordinates, clipped like MzPaint: rounded
// rectangles with vertical gradients, soft shadows, and the glossy candy key of the
// game's title menu.
#pragma once

#include "windows/MzInside.h"

#include "ce/CeTypes.h"
#include "screen/MzSurface.h"

#include <cstdint>

class MzShapes {
public:
    // Filled with a gradient from top to bottom (0xAARRGGBB, translucent blends);
    // the corners are antialiased.
    static void RoundRect(MzSurface* hdc, const RECT& rect, int radius, uint32_t top,
                          uint32_t bottom);
    // The same with an outline of thickness inside the rectangle.
    static void OutlinedRoundRect(MzSurface* hdc, const RECT& rect, int radius, int thickness,
                                  uint32_t outline, uint32_t top, uint32_t bottom);
    // A blurred shadow of a rounded rectangle, spread pixels wide around it.
    static void Shadow(MzSurface* hdc, const RECT& rect, int radius, int spread, uint32_t argb);
    // A candy key inside rect: shadow, 3D edge, gradient body and gloss. Pressed, the
    // body sinks onto its edge. Returns the body's rectangle, where the label goes.
    static RECT CandyKey(MzSurface* hdc, const RECT& rect, uint32_t base, bool pressed);
    // factor < 1 darkens towards black, > 1 lightens towards white; alpha kept.
    static uint32_t Shade(uint32_t argb, double factor);
};
