#include "screen/MzFont.h"

#include "ce/CeNotice.h"

#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

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

// Asks fontconfig for the best font for Simplified Chinese and keeps it only when it
// really covers the language (fontconfig falls back to any font otherwise).
void Search(FontState& s) {
    s.searched = true;
    if (!FcInit())
        return;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(":lang=zh-cn"));
    if (!pattern)
        return;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return;
    FcLangSet* langs = nullptr;
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetLangSet(match, FC_LANG, 0, &langs) == FcResultMatch &&
        FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("zh-cn")) != FcLangDifferentLang &&
        FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        s.file = reinterpret_cast<const char*>(file);
        s.index = index;
    }
    FcPatternDestroy(match);
}

void EnsureSearched(FontState& s) {
    if (s.searched)
        return;
    Search(s);
    if (!TTF_WasInit() && TTF_Init() != 0)
        s.file.clear();
    if (s.file.empty())
        CeNotice::Once("font", "no font covering Chinese was found through fontconfig; "
                               "text will not be shown");
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
