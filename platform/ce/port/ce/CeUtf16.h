// UTF-16 (the platform's WCHAR text) to and from UTF-8 (the host's text), and the
// case folding used to match names without regard to case.
#pragma once

#include "ce/CePort.h"

#include "ce/CeTypes.h"

#include <string>
#include <string_view>

class CeUtf16 {
public:
    // For display and logs: unpaired surrogates and invalid UTF-8 bytes become U+FFFD.
    static std::string ToUtf8(const WCHAR* text); // null gives ""
    static std::string ToUtf8(const std::u16string& text);
    static std::u16string FromUtf8(const std::string& text);

    // For names, where a guess would reach the wrong file: false on an unpaired
    // surrogate (such a name has no host spelling) or on malformed UTF-8 (such a
    // host name is never matched).
    static bool ToUtf8(std::u16string_view text, std::string& out);
    static bool FromUtf8(std::string_view text, std::u16string& out);

    // File names' case rule (towupper's table); shared objects' names use the
    // narrower CeSharedText::Fold, as the phone does.
    static std::u16string Upper(std::u16string_view text);
    static size_t Length(const WCHAR* text); // code units before the zero; null gives 0
};
