// Drawing on an HDC in window coordinates, clipped to the area being repainted.
#pragma once

#include "windows/MzInside.h"

#include "ce/CeTypes.h"
#include "screen/MzSurface.h"

#include <cstdint>
#include <string>

struct MzBitmap;

struct MzTextStyle {
    int pixelSize = 24;
    uint32_t color = 0xFF000000; // 0xAARRGGBB
    uint32_t outline = 0;        // outline colour; 0 draws none
    bool bold = false;
    bool centred = false; // else left-aligned; always vertically centred
    bool wrap = false;    // break lines to the rectangle's width
};

// A line of text as it is drawn into a width: at the style's size when it fits, else
// smaller down to kMinFitPercent of it, and past that at that size with its middle
// replaced by "…", so that its beginning and its end stay readable.
struct MzFittedLine {
    std::u16string text;
    int pixelSize = 0;
};

class MzPaint {
public:
    static constexpr int kMinFitPercent = 70;

    static void Fill(MzSurface* hdc, const RECT& rect, uint32_t argb); // blends when translucent
    static void Frame(MzSurface* hdc, const RECT& rect, uint32_t argb, int thickness);
    // stretch: over the whole rectangle; else at its natural size, centred.
    static void Image(MzSurface* hdc, MzBitmap* bitmap, const RECT& rect, bool stretch);
    // Every control's text goes through here: it never paints outside rect, and each
    // line too wide for it is fitted (FitLine).
    static void Text(MzSurface* hdc, const std::u16string& text, const RECT& rect,
                     const MzTextStyle& style);
    static MzFittedLine FitLine(const std::u16string& line, int width, const MzTextStyle& style);
    // Width in pixels of text (one line) drawn in style.
    static int TextWidth(const std::u16string& text, const MzTextStyle& style);
    // Lines text takes at a width (with style.wrap), and the height of one line.
    static int LineCount(const std::u16string& text, int width, const MzTextStyle& style);
    static int LineHeight(const MzTextStyle& style);
};
