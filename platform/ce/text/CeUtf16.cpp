#include "ce/CeUtf16.h"

#include "ce/CeCrt.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c >= 0x10000) {
        out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
        out += static_cast<char16_t>(c);
    }
}

// Converts; an unpaired surrogate is replaced, or fails the whole text when strict.
bool Narrow(std::u16string_view s, bool strict, std::string& out) {
    out.clear();
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            if (strict)
                return false;
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return true;
}

// Converts; a malformed sequence is replaced (a bad lead or continuation byte covers
// one byte, a well-formed but out-of-range one its whole length), or fails the whole
// text when strict.
bool Widen(std::string_view s, bool strict, std::u16string& out) {
    out.clear();
    size_t i = 0;
    const size_t n = s.size();
    while (i < n) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        char32_t c = kReplacement;
        size_t used = 1;
        bool valid = false;
        if (len != 0 && i + len <= n) {
            char32_t v = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
            bool ok = true;
            for (size_t k = 1; k < len && ok; ++k) {
                unsigned char t = static_cast<unsigned char>(s[i + k]);
                ok = (t >> 6) == 2;
                v = (v << 6) | (t & 0x3F);
            }
            static const char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
            if (ok) {
                used = len;
                valid = v >= kMin[len] && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF);
                if (valid)
                    c = v;
            }
        }
        if (!valid && strict)
            return false;
        AppendUtf16(out, c);
        i += used;
    }
    return true;
}

} // namespace

size_t CeUtf16::Length(const WCHAR* text) {
    size_t n = 0;
    if (text)
        while (text[n])
            ++n;
    return n;
}

std::string CeUtf16::ToUtf8(const WCHAR* text) {
    std::string out;
    Narrow(std::u16string_view(text ? text : u"", Length(text)), false, out);
    return out;
}

std::string CeUtf16::ToUtf8(const std::u16string& text) {
    std::string out;
    Narrow(text, false, out);
    return out;
}

std::u16string CeUtf16::FromUtf8(const std::string& text) {
    std::u16string out;
    Widen(text, false, out);
    return out;
}

bool CeUtf16::ToUtf8(std::u16string_view text, std::string& out) {
    return Narrow(text, true, out);
}

bool CeUtf16::FromUtf8(std::string_view text, std::u16string& out) {
    return Widen(text, true, out);
}

std::u16string CeUtf16::Upper(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out)
        c = towupper(c);
    return out;
}
