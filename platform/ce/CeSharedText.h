// Text helpers for the objects shared between processes: names travel between
// processes and into files as UTF-8 or hex, and compare without regard to case.
#pragma once

#include "ce/CeTypes.h"

#include <string>

class CeSharedText {
public:
    static std::u16string FromPtr(LPCWSTR s, size_t max = 4096); // null gives ""
    static std::string ToUtf8(const std::u16string& s);
    static std::u16string FromUtf8(const std::string& s);
    // Upper-cases ASCII and Latin-1 letters, as the phone's name matching does.
    static std::u16string Fold(const std::u16string& s);
    static bool EqualNoCase(const std::u16string& a, const std::u16string& b);
    // Hex of the UTF-16 code units (4 digits each): safe in any file or socket name.
    static std::string ToHex(const std::u16string& s);
    static bool FromHex(const std::string& hex, std::u16string& out);
    static uint64_t Hash(const std::string& s); // FNV-1a
};
