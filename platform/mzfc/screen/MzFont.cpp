#include "screen/MzFont.h"

#include "ce/CeNotice.h"
#include "screen/MzFontFile.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct FontState {
    bool searched = false;
    std::vector<MzFontFace> faces;
    std::map<std::tuple<std::string, int, bool, int>, TTF_Font*> open; // by file
};

FontState& State() {
    static FontState state;
    return state;
}

void EnsureSearched(FontState& s) {
    if (s.searched)
        return;
    s.searched = true;
    s.faces = MzFontFile::Find();
    if (!TTF_WasInit() && TTF_Init() != 0)
        s.faces.clear();
    if (s.faces.empty())
        CeNotice::Once("font", "no font covering Chinese was found; text will not be shown");
}

TTF_Font* Open(FontState& s, size_t face, int pixelSize, bool bold, int outlinePx) {
    auto key = std::make_tuple(s.faces[face].file, pixelSize, bold, outlinePx);
    auto it = s.open.find(key);
    if (it != s.open.end())
        return it->second;
    TTF_Font* font = TTF_OpenFontIndex(s.faces[face].file.c_str(), pixelSize, s.faces[face].index);
    if (font) {
        TTF_SetFontStyle(font, bold ? TTF_STYLE_BOLD : TTF_STYLE_NORMAL);
        TTF_SetFontOutline(font, outlinePx);
        TTF_SetFontHinting(font, TTF_HINTING_LIGHT);
    }
    s.open[key] = font;
    return font;
}

// How many characters of text the font lacks.
size_t Lacking(TTF_Font* font, const std::u16string& text) {
    size_t lacking = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c >= 0x20 && !TTF_GlyphIsProvided32(font, c))
            ++lacking;
    }
    return lacking;
}

// The face for text among those found so far: the first with all of it, else the one
// lacking least.
TTF_Font* Choose(FontState& s, const std::u16string& text, int pixelSize, bool bold, int outlinePx,
                 bool& complete) {
    TTF_Font* best = nullptr;
    size_t bestLacking = 0;
    for (size_t face = 0; face < s.faces.size(); ++face) {
        TTF_Font* font = Open(s, face, pixelSize, bold, outlinePx);
        if (!font)
            continue;
        const size_t lacking = text.empty() ? 0 : Lacking(font, text);
        if (!best || lacking < bestLacking) {
            best = font;
            bestLacking = lacking;
        }
        if (lacking == 0)
            break;
    }
    complete = best && bestLacking == 0;
    return best;
}

} // namespace

bool MzFont::Available() {
    FontState& s = State();
    EnsureSearched(s);
    return !s.faces.empty();
}

TTF_Font* MzFont::Get(int pixelSize, bool bold, int outlinePx, const std::u16string& text) {
    FontState& s = State();
    EnsureSearched(s);
    pixelSize = std::clamp(pixelSize, 6, 200);
    outlinePx = std::clamp(outlinePx, 0, 8);
    bool complete = false;
    TTF_Font* font = Choose(s, text, pixelSize, bold, outlinePx, complete);
    if (complete || text.empty())
        return font;
    if (MzFontFile::Lacking()) { // more faces have arrived since (a page loads them later)
        s.faces = MzFontFile::Find();
        font = Choose(s, text, pixelSize, bold, outlinePx, complete);
    }
    return font;
}

void MzFont::Shutdown() {
    FontState& s = State();
    for (auto& entry : s.open)
        if (entry.second)
            TTF_CloseFont(entry.second);
    s.open.clear();
}
