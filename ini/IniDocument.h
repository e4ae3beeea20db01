// One INI file's bytes in memory and every operation on them, without file access:
// the text after the byte-order mark, the value of a key, and the complete new bytes
// of each kind of change.
//
// Readers stop at the first zero code unit, but a change keeps every byte from that
// unit on, unchanged, behind the new text: a stray zero must not cost the sections
// after it. A last odd byte is read as the low byte of a whole unit, and a change
// writes it as such, so that new text always lands where readers look for it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

class IniDocument {
public:
    // bytes: the whole file. Valid() tells whether it starts with FF FE.
    explicit IniDocument(std::string_view bytes);

    bool Valid() const { return valid_; }
    const std::u16string& Text() const { return text_; }

    std::optional<std::u16string_view> Read(std::u16string_view section,
                                            std::u16string_view key) const;
    // Each change gives the file's new bytes, or false when nothing has to change.
    bool Set(std::u16string_view section, std::u16string_view key, std::u16string_view value,
             std::string& out) const;
    bool RemoveKey(std::u16string_view section, std::u16string_view key, std::string& out) const;
    bool RemoveSection(std::u16string_view section, std::string& out) const;

    bool SectionExists(std::u16string_view section) const;
    size_t SectionCount() const;
    std::optional<std::u16string_view> SectionName(size_t index) const;

    static std::string Encode(std::u16string_view text); // UTF-16LE, no mark
    static constexpr std::string_view kMark{"\xFF\xFE", 2};

private:
    // The new file: the mark, the pieces of new text, then the kept tail.
    std::string Rewrite(std::initializer_list<std::u16string_view> pieces) const;

    std::u16string text_;
    std::string_view tail_; // from the first zero unit to the end; empty without one
    bool valid_ = false;
};
