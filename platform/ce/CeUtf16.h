// UTF-16 (the platform's WCHAR text) to and from UTF-8 (the host's text).
// Unpaired surrogates become U+FFFD; invalid UTF-8 bytes too.
#pragma once

#include "ce/CeTypes.h"

#include <string>

class CeUtf16 {
public:
    static std::string ToUtf8(const WCHAR* text); // null gives ""
    static std::string ToUtf8(const std::u16string& text);
    static std::u16string FromUtf8(const std::string& text);
    static size_t Length(const WCHAR* text); // code units before the zero; null gives 0
};
