// The screen font: one font file found through fontconfig that covers Chinese,
// opened at each pixel size in use. Without such a font the program still runs
// (it says so once on stderr) and draws no text.
#pragma once

#include "windows/MzInside.h"

typedef struct _TTF_Font TTF_Font;

class MzFont {
public:
    // The font at a pixel size (clamped to 6..200), bold or not, with an outline of
    // outlinePx pixels (0: none); null when no font is available.
    static TTF_Font* Get(int pixelSize, bool bold, int outlinePx = 0);
    static bool Available();
    static void Shutdown(); // closes every open font
};
