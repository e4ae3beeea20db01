#include "IniTestBytes.h"

#include "IniDocument.h"

#include <cstdio>

std::string IniBytes(std::u16string_view text) {
    return std::string(IniDocument::kMark) + IniDocument::Encode(text);
}

std::u16string SettingsText(std::u16string_view name, std::u16string_view score) {
    return u"[Config]\r\n  isSoundOn=0\r\n[Zellik]\r\n  Version=2\r\n[Save]\r\n  Name=" +
           std::u16string(name) + u"\r\n  Score=" + std::u16string(score);
}

std::string Printable(const std::string& bytes) {
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        // UTF-16LE ASCII shows as the character; everything else as hex.
        if (i >= 2 && i % 2 == 0 && i + 1 < bytes.size() && bytes[i + 1] == 0 && c >= 0x20 &&
            c < 0x7F) {
            out += static_cast<char>(c);
            ++i;
        } else if (i >= 2 && i % 2 == 0 && i + 1 < bytes.size() && bytes[i + 1] == 0 &&
                   (c == '\r' || c == '\n')) {
            out += c == '\r' ? "\\r" : "\\n";
            ++i;
        } else {
            char hex[8];
            snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}
