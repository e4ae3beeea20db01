#include "ce/CeSharedText.h"

std::u16string CeSharedText::FromPtr(LPCWSTR s, size_t max) {
    std::u16string out;
    if (s == nullptr)
        return out;
    for (size_t i = 0; i < max && s[i] != 0; ++i)
        out.push_back(s[i]);
    return out;
}

std::string CeSharedText::ToUtf8(const std::u16string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        uint32_t c = s[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD; // lone surrogate
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::u16string CeSharedText::FromUtf8(const std::string& s) {
    std::u16string out;
    size_t i = 0;
    while (i < s.size()) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        uint32_t c = 0xFFFD;
        size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) {
            ++i;
        } else {
            c = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
            for (size_t k = 1; k < n; ++k)
                c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
            i += n;
        }
        if (c >= 0x10000 && c <= 0x10FFFF) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c > 0xFFFF ? 0xFFFD : c));
        }
    }
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
