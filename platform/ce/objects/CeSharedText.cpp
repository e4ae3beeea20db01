#include "objects/CeSharedText.h"

#include <cstdio>

std::u16string CeSharedText::FromPtr(LPCWSTR s, size_t max) {
    std::u16string out;
    if (s == nullptr)
        return out;
    for (size_t i = 0; i < max && s[i] != 0; ++i)
        out.push_back(s[i]);
    return out;
}

std::u16string CeSharedText::Fold(const std::u16string& s) {
    std::u16string out = s;
    for (auto& c : out) {
        if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
            c = static_cast<char16_t>(c - 0x20);
    }
    return out;
}

bool CeSharedText::EqualNoCase(const std::u16string& a, const std::u16string& b) {
    return a.size() == b.size() && Fold(a) == Fold(b);
}

std::string CeSharedText::ToHex(const std::u16string& s) {
    static const char digits[] = "0123456789abcdef";
    if (s.empty())
        return "-";
    std::string out;
    out.reserve(s.size() * 4);
    for (char16_t c : s)
        for (int shift = 12; shift >= 0; shift -= 4)
            out.push_back(digits[(c >> shift) & 0xF]);
    return out;
}

bool CeSharedText::FromHex(const std::string& hex, std::u16string& out) {
    out.clear();
    if (hex == "-")
        return true; // the empty string, so that a field is never blank
    if (hex.size() % 4 != 0)
        return false;
    for (size_t i = 0; i < hex.size(); i += 4) {
        uint32_t c = 0;
        for (size_t k = 0; k < 4; ++k) {
            char d = hex[i + k];
            int v = d >= '0' && d <= '9' ? d - '0' : d >= 'a' && d <= 'f' ? d - 'a' + 10 : -1;
            if (v < 0)
                return false;
            c = (c << 4) | static_cast<uint32_t>(v);
        }
        out.push_back(static_cast<char16_t>(c));
    }
    return true;
}

uint64_t CeSharedText::Hash(const std::string& s) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : s) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

std::string CeSharedText::FileName(const std::u16string& name) {
    std::string hex = ToHex(Fold(name));
    if (hex.size() > 200) { // keep within a file name's length
        char buf[40];
        snprintf(buf, sizeof buf, "#h%016llx", static_cast<unsigned long long>(Hash(hex)));
        return buf;
    }
    return "#" + hex;
}
