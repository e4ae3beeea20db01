#include "screen/MzFont.h"

#include "screen/MzFontFile.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>

namespace {

struct FontState {
    bool searched = false;
    std::string file;
    int index = 0;
    std::map<std::tuple<int, bool, int>, TTF_Font*> open;
};

FontState& State() {
    static FontState state;
    return state;
}

void Search(FontState& s) {
    s.searched = true;
    std::vector<MzFontFace> faces = MzFontFile::Find();
    if (faces.empty())
        return;
    s.file = faces.front().file;
    s.index = faces.front().index;
}

void EnsureSearched(FontState& s) {
    if (s.searched)
        return;
    Search(s);
    if (!TTF_WasInit() && TTF_Init() != 0)
        s.file.clear();
    if (s.file.empty())
        std::fprintf(stderr, "mzfc: no font covering Chinese was found; "
                             "text will not be shown\n");
}

} // namespace

bool MzFont::Available() {
    FontState& s = State();
    EnsureSearched(s);
    return !s.file.empty();
}

TTF_Font* MzFont::Get(int pixelSize, bool bold, int outlinePx) {
    FontState& s = State();
    EnsureSearched(s);
    if (s.file.empty())
        return nullptr;
    pixelSize = std::clamp(pixelSize, 6, 200);
    outlinePx = std::clamp(outlinePx, 0, 8);
    auto key = std::make_tuple(pixelSize, bold, outlinePx);
    auto it = s.open.find(key);
    if (it != s.open.end())
        return it->second;
    TTF_Font* font = TTF_OpenFontIndex(s.file.c_str(), pixelSize, s.index);
    if (font) {
        TTF_SetFontStyle(font, bold ? TTF_STYLE_BOLD : TTF_STYLE_NORMAL);
        TTF_SetFontOutline(font, outlinePx);
        TTF_SetFontHinting(font, TTF_HINTING_LIGHT);
    }
    s.open[key] = font;
    return font;
}

void MzFont::Shutdown() {
    FontState& s = State();
    for (auto& entry : s.open)
        if (entry.second)
            TTF_CloseFont(entry.second);
    s.open.clear();
}
