#include "ce/CePrintable.h"

#include "ce/CeUtf16.h"

namespace {

// "\x1b" or "\u009b": the prefix and the value in lower-case hex digits.
void Hex(std::string& out, const char* prefix, unsigned value, int digits) {
    static const char kDigits[] = "0123456789abcdef";
    out += prefix;
    for (int i = digits - 1; i >= 0; --i)
        out.push_back(kDigits[(value >> (4 * i)) & 0xF]);
}

// The length of the well-formed UTF-8 sequence at s, or 0.
size_t SequenceLength(std::string_view s, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[0]);
    size_t n = b0 >= 0xF0 && b0 <= 0xF4  ? 4
               : b0 >= 0xE0 && b0 < 0xF0 ? 3
               : b0 >= 0xC2 && b0 < 0xE0 ? 2
                                         : 0;
    if (n == 0 || s.size() < n)
        return 0;
    cp = b0 & (0x7F >> n);
    for (size_t i = 1; i < n; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    const bool overlong = (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000);
    const bool bad = cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF);
    return overlong || bad ? 0 : n;
}

} // namespace

std::string CePrintable::Escape(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x20 || b == 0x7F) {
            Hex(out, "\\x", b, 2);
            ++i;
            continue;
        }
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        char32_t cp = 0;
        const size_t n = SequenceLength(utf8.substr(i), cp);
        if (n == 0) {
            Hex(out, "\\x", b, 2);
            ++i;
        } else if (cp <= 0x9F) {
            Hex(out, "\\u", static_cast<unsigned>(cp), 4);
            i += n;
        } else {
            out.append(utf8.substr(i, n));
            i += n;
        }
    }
    return out;
}

std::string CePrintable::Escape(std::u16string_view text) {
    return Escape(CeUtf16::ToUtf8(std::u16string(text)));
}
