// The page's fonts, cut at build time from the CJK face: game.ttf (ASCII and every
// text of the game) comes with the game; base.ttf (GB2312 besides) follows once the
// title is shown; rest.ttf, the face's other characters, only when a text needs it.
// The page writes each into /fonts as it arrives.
#include "screen/MzFontFile.h"

#include "loop/MzSdlWaiter.h"
#include "screen/MzScreen.h"

#include <emscripten.h>
#include <sys/stat.h>

namespace {

const char* const kFiles[] = {"/fonts/game.ttf", "/fonts/base.ttf", "/fonts/rest.ttf"};
size_t g_found = 0;

bool Present(const char* file) {
    struct stat st;
    return stat(file, &st) == 0 && S_ISREG(st.st_mode);
}

size_t CountPresent() {
    size_t n = 0;
    for (const char* file : kFiles)
        n += Present(file) ? 1 : 0;
    return n;
}

// clang-format off
EM_JS(void, mz_font_request_more, (), {
    if (Module['burrowbopLoadFonts'])
        Module['burrowbopLoadFonts'](true);
});
// clang-format on

} // namespace

// The page calls this when a font has arrived: the texts drawn without it are drawn
// again.
extern "C" EMSCRIPTEN_KEEPALIVE void mz_fonts_arrived() {
    MzScreen::Instance().InvalidateAll();
    MzSdlWaiter().Wake();
}

std::vector<MzFontFace> MzFontFile::Find() {
    std::vector<MzFontFace> faces;
    for (const char* file : kFiles)
        if (Present(file))
            faces.push_back(MzFontFace{file, 0});
    g_found = faces.size();
    return faces;
}

bool MzFontFile::Lacking() {
    if (CountPresent() > g_found)
        return true;
    mz_font_request_more();
    return false;
}
