// The page's fonts, cut at build time from the CJK face: base.ttf holds ASCII, GB2312
// and every text of the game; rest.ttf, the face's other characters, is there only
// once the page has loaded it.
#include "screen/MzFontFile.h"

#include <sys/stat.h>

std::vector<MzFontFace> MzFontFile::Find() {
    std::vector<MzFontFace> faces;
    for (const char* file : {"/fonts/base.ttf", "/fonts/rest.ttf"}) {
        struct stat st;
        if (stat(file, &st) == 0 && S_ISREG(st.st_mode))
            faces.push_back(MzFontFace{file, 0});
    }
    return faces;
}
