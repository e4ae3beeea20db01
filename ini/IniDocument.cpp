#include "IniDocument.h"

#include "IniText.h"

#include <bit>
#include <cstring>

IniDocument::IniDocument(std::string_view bytes) {
    valid_ = bytes.size() >= 2 && bytes.substr(0, 2) == kMark;
    if (!valid_)
        return;
    // The text runs to the first zero unit; a last odd byte pairs with a zero byte.
    const size_t units = (bytes.size() - 1) / 2;
    text_.resize(units);
    size_t n = 0;
    for (; n < units; ++n) {
        const size_t i = 2 + 2 * n;
        auto lo = static_cast<unsigned char>(bytes[i]);
        auto hi = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0u;
        char16_t unit = static_cast<char16_t>(lo | (hi << 8));
        if (unit == 0) {
            tail_ = bytes.substr(i);
            break;
        }
        text_[n] = unit;
    }
    text_.resize(n);
}

namespace {

void AppendEncoded(std::string& out, std::u16string_view text) {
    const size_t at = out.size();
    out.resize(at + text.size() * 2);
    if constexpr (std::endian::native == std::endian::little) {
        if (!text.empty())
            std::memcpy(out.data() + at, text.data(), text.size() * 2);
    } else {
        for (size_t i = 0; i < text.size(); ++i) {
            out[at + 2 * i] = static_cast<char>(text[i] & 0xFF);
            out[at + 2 * i + 1] = static_cast<char>(text[i] >> 8);
        }
    }
}

size_t Units(std::initializer_list<std::u16string_view> pieces) {
    size_t n = 0;
    for (std::u16string_view p : pieces)
        n += p.size();
    return n;
}

} // namespace

std::string IniDocument::Encode(std::u16string_view text) {
    std::string out;
    AppendEncoded(out, text);
    return out;
}

std::string IniDocument::Rewrite(std::initializer_list<std::u16string_view> pieces) const {
    std::string out;
    out.reserve(2 + 2 * Units(pieces) + tail_.size());
    out += kMark;
    for (std::u16string_view p : pieces)
        AppendEncoded(out, p);
    out += tail_;
    return out;
}

std::optional<std::u16string_view> IniDocument::Read(std::u16string_view section,
                                                     std::u16string_view key) const {
    IniText text(text_);
    auto header = text.FindHeader(section);
    if (!header)
        return std::nullopt;
    auto k = text.FindKey(*header, text.SectionEnd(*header), key);
    if (!k)
        return std::nullopt;
    return std::u16string_view(text_).substr(k->valueStart, k->valueEnd - k->valueStart);
}

bool IniDocument::Set(std::u16string_view section, std::u16string_view key,
                      std::u16string_view value, std::string& out) const {
    const std::u16string_view t(text_);
    IniText text(t);
    auto header = text.FindHeader(section);
    if (!header) {
        out = Rewrite({t, t.empty() ? u"[" : u"\r\n[", section, u"]\r\n  ", key, u"=", value});
        return true;
    }
    const size_t end = text.SectionEnd(*header);
    auto k = text.FindKey(*header, end, key);
    if (k) {
        out = Rewrite({t.substr(0, k->keyStart), key, u"=", value, t.substr(k->valueEnd)});
    } else if (end == IniText::npos) {
        out = Rewrite({t, u"\r\n  ", key, u"=", value});
    } else {
        out = Rewrite({t.substr(0, end), u"  ", key, u"=", value, u"\r\n", t.substr(end)});
    }
    return true;
}

bool IniDocument::RemoveKey(std::u16string_view section, std::u16string_view key,
                            std::string& out) const {
    const std::u16string_view t(text_);
    IniText text(t);
    auto header = text.FindHeader(section);
    if (!header)
        return false;
    auto k = text.FindKey(*header, text.SectionEnd(*header), key);
    if (!k)
        return false;
    out = Rewrite({t.substr(0, k->lineStart), t.substr(k->lineNext)});
    return true;
}

bool IniDocument::RemoveSection(std::u16string_view section, std::string& out) const {
    const std::u16string_view t(text_);
    IniText text(t);
    auto header = text.FindHeader(section);
    if (!header)
        return false;
    const size_t end = text.SectionEnd(*header);
    out = Rewrite({t.substr(0, header->open), end == IniText::npos ? u"" : t.substr(end)});
    return true;
}

bool IniDocument::SectionExists(std::u16string_view section) const {
    return IniText(text_).FindHeader(section, IniText::Close::CrOrLine).has_value();
}

size_t IniDocument::SectionCount() const {
    return IniText(text_).CountHeaderLines();
}

std::optional<std::u16string_view> IniDocument::SectionName(size_t index) const {
    return IniText(text_).HeaderLineName(index);
}
