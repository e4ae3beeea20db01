#include "IniTestBytes.h"

#include "IniDocument.h"

#include <cstdio>

std::string IniBytes(std::u16string_view text) {
    return std::string(IniDocument::kMark) + IniDocument::Encode(text);
}

std::u16string SettingsText(std::u16string_view name, std::u16string_view score,
                            std::u16string_view sound, std::optional<std::u16string_view> version) {
    std::u16string text = u"[Config]\r\n  isSoundOn=" + std::u16string(sound) + u"\r\n[Zellik]\r\n";
    if (version)
        text += u"  Version=" + std::u16string(*version) + u"\r\n";
    return text + u"[Save]\r\n  Name=" + std::u16string(name) + u"\r\n  Score=" +
           std::u16string(score);
}

std::string Printable(const std::string& bytes) {
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        // UTF-16LE ASCII shows as the character; everything else as hex.
        const bool unit = i >= 2 && i % 2 == 0 && i + 1 < bytes.size() && bytes[i + 1] == 0;
        if (unit && c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
            ++i;
        } else if (unit && (c == '\r' || c == '\n')) {
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
