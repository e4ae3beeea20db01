// UTF-16 (the CE side) to UTF-8 (host names) and back, and the case folding used to
// match names without regard to case.
#pragma once

#include <string>
#include <string_view>

class CeUtf {
public:
    // False on an unpaired surrogate (such a name has no host spelling).
    static bool ToUtf8(std::u16string_view s, std::string& out);
    // False on malformed UTF-8 (such a host name is never matched).
    static bool FromUtf8(std::string_view s, std::u16string& out);
    static std::u16string Upper(std::u16string_view s);
};
