// Text helpers for the objects shared between processes: names travel between
// processes and into files as UTF-8 or hex, and compare without regard to case.
#pragma once

#include "core/CeInside.h"

#include "ce/CeTypes.h"

#include <string>
#include <vector>

class CeSharedText {
public:
    static std::u16string FromPtr(LPCWSTR s, size_t max = 4096); // null gives ""
    // Upper-cases ASCII and Latin-1 letters, as the phone's names of shared objects
    // (mutexes, registry keys, message names, window classes, buses) match. File
    // names match by the wider CeUtf16::Upper instead, as the phone's file system
    // does; the two rules are the phone's own and so stay two.
    static std::u16string Fold(const std::u16string& s);
    static bool EqualNoCase(const std::u16string& a, const std::u16string& b);
    // Hex of UTF-16 code units (4 digits each) or bytes (2 each): safe in any file or
    // socket name. Nothing is "-", so that a field is never blank.
    static std::string ToHex(const std::u16string& s);
    static std::string ToHex(const std::vector<BYTE>& data);
    static bool FromHex(const std::string& hex, std::u16string& out);
    static bool FromHex(const std::string& hex, std::vector<BYTE>& out);
    static uint64_t Hash(const std::string& s); // FNV-1a
    // The file name standing for a shared object's name, alike for every spelling
    // that folds alike: "#" and the hex of the folded name, or "#h" and its hash when
    // that is too long for a file name.
    static std::string FileName(const std::u16string& name);
};
