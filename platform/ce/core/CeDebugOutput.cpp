#include "ce/CeDebug.h"

#include "ce/CeNotice.h"
#include "ce/CeUtf16.h"

#include <string>

void OutputDebugStringW(LPCWSTR lpOutputString) {
    if (!lpOutputString)
        return;
    std::u16string text(lpOutputString);
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r'))
        text.pop_back(); // the line break is the notice's own
    const std::string utf8 = CeUtf16::ToUtf8(text);
    CeNotice::Once("debug " + utf8, utf8); // the notice escapes it
}
