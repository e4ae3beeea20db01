#include "screen/MzFontFile.h"

#include <fontconfig/fontconfig.h>

// Asks fontconfig for the best font for Simplified Chinese and keeps it only when it
// really covers the language (fontconfig falls back to any font otherwise).
std::vector<MzFontFace> MzFontFile::Find() {
    std::vector<MzFontFace> faces;
    if (!FcInit())
        return faces;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(":lang=zh-cn"));
    if (!pattern)
        return faces;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return faces;
    FcLangSet* langs = nullptr;
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetLangSet(match, FC_LANG, 0, &langs) == FcResultMatch &&
        FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("zh-cn")) != FcLangDifferentLang &&
        FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        faces.push_back(MzFontFace{reinterpret_cast<const char*>(file), index});
    }
    FcPatternDestroy(match);
    return faces;
}

bool MzFontFile::Lacking() {
    return false; // one face, for good
}
