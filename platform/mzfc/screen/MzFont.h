// The screen font: the faces MzFontFile finds (on the desktop one that covers
// Chinese), opened at each pixel size in use. A text is drawn with the first face that
// has every character of it. Without a font the program still runs (it says so once
// on stderr) and draws no text.
#pragma once

#include "windows/MzInside.h"

#include <string>

typedef struct _TTF_Font TTF_Font;

class MzFont {
public:
    // The font at a pixel size (clamped to 6..200), bold or not, with an outline of
    // outlinePx pixels (0: none); null when no font is available.
    // With a text: the first face that has all of its characters (else the one that
    // has most, after asking for more faces); a character in no face draws as a box.
    static TTF_Font* Get(int pixelSize, bool bold, int outlinePx = 0,
                         const std::u16string& text = {});
    static bool Available();
    static void Shutdown(); // closes every open font
};
