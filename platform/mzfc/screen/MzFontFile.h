// Where the screen font is: the file and the face in it. The build picks the source:
// on the desktop fontconfig's best font for Simplified Chinese, in a page the subset
// the page ships (and the rest of the face, where it has been loaded).
#pragma once

#include "windows/MzInside.h"

#include <string>
#include <vector>

struct MzFontFace {
    std::string file;
    int index = 0;
};

class MzFontFile {
public:
    // The faces in order of preference: the first covers every text the program
    // draws; later ones are tried for characters it lacks. Empty when none is found.
    static std::vector<MzFontFace> Find();
    // A text has characters no face found so far has. True when more faces have
    // arrived since Find; else, where more can be had (a page), the next one is asked
    // for and false returned.
    static bool Lacking();
};
