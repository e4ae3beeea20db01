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

namespace {

// Each unit as sizeof(Unit) * 2 lower-case hex digits.
template <typename Units> std::string HexOf(const Units& units) {
    constexpr int digitsPerUnit = sizeof(typename Units::value_type) * 2;
    static const char digits[] = "0123456789abcdef";
    if (units.empty())
        return "-";
    std::string out;
    out.reserve(units.size() * digitsPerUnit);
    for (auto u : units)
        for (int shift = (digitsPerUnit - 1) * 4; shift >= 0; shift -= 4)
            out.push_back(digits[(static_cast<uint32_t>(u) >> shift) & 0xF]);
    return out;
}

template <typename Units> bool UnitsOf(const std::string& hex, Units& out) {
    constexpr size_t digitsPerUnit = sizeof(typename Units::value_type) * 2;
    out.clear();
    if (hex == "-")
        return true;
    if (hex.size() % digitsPerUnit != 0)
        return false;
    for (size_t i = 0; i < hex.size(); i += digitsPerUnit) {
        uint32_t c = 0;
        for (size_t k = 0; k < digitsPerUnit; ++k) {
            char d = hex[i + k];
            int v = d >= '0' && d <= '9' ? d - '0' : d >= 'a' && d <= 'f' ? d - 'a' + 10 : -1;
            if (v < 0)
                return false;
            c = (c << 4) | static_cast<uint32_t>(v);
        }
        out.push_back(static_cast<typename Units::value_type>(c));
    }
    return true;
}

} // namespace

std::string CeSharedText::ToHex(const std::u16string& s) {
    return HexOf(s);
}

std::string CeSharedText::ToHex(const std::vector<BYTE>& data) {
    return HexOf(data);
}

bool CeSharedText::FromHex(const std::string& hex, std::u16string& out) {
    return UnitsOf(hex, out);
}

bool CeSharedText::FromHex(const std::string& hex, std::vector<BYTE>& out) {
    return UnitsOf(hex, out);
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
