// The read-only mounts below the device root, parsed from "CE folder=host folder"
// entries.
#pragma once

#include "core/CeInside.h"

#include <string>
#include <string_view>
#include <vector>

struct CeMount {
    std::vector<std::u16string> upperNames; // CE folder components, upper-cased
    std::vector<std::u16string> names;      // as written
    std::string host;
};

class CeMountTable {
public:
    // Parses lines or ';'-separated entries; relative host folders are taken from base.
    static std::vector<CeMount> Parse(std::string_view text, const std::string& base);
    static constexpr size_t kMaxFileBytes = 64 * 1024;
    // Reads a mounts file (its first kMaxFileBytes); relative host folders are taken
    // from the file's folder.
    static std::vector<CeMount> ReadFile(const std::string& file);
    static bool MakeMount(const std::u16string& ceFolder, const std::string& host, CeMount& out);
    // Splits a CE path into components, dropping empty ones and ".".
    static std::vector<std::u16string> Split(std::u16string_view path);
};
