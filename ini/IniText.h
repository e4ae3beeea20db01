// The matching rules of the INI text (no file access): section headers, the end of a
// section, keys and their values, and the header lines counted by the section queries.
// Positions are indices into the text (UTF-16 code units after the byte-order mark, up
// to the first zero unit).
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

class IniText {
public:
    static constexpr size_t npos = std::u16string_view::npos;

    struct Header {
        size_t open;  // the '['
        size_t close; // the ']'
    };
    struct Key {
        size_t lineStart;  // first character of the key's line
        size_t keyStart;   // first character of the key
        size_t valueStart; // right after the '='
        size_t valueEnd;   // the CR of a CR LF, the bare LF, or the end of the text
        size_t lineNext;   // right after the line's LF, or the end of the text
    };

    explicit IniText(std::u16string_view text) : t_(text) {}

    // How a header's ']' must end: for reading and writing, by LF, CR LF or the end of
    // the text; for the existence query, by LF, a CR (whatever follows it) or the end.
    enum class Close { Line, CrOrLine };

    // The first "[section]" line: '[' at a line start, ']' ended as `close` says.
    std::optional<Header> FindHeader(std::u16string_view section, Close close = Close::Line) const;
    // The '[' that begins the next line starting with '[', or npos for the last section.
    size_t SectionEnd(const Header& h) const;
    // The first line of the section that holds the whole key, after any blanks at the
    // start of the line, directly followed by '='.
    std::optional<Key> FindKey(const Header& h, size_t sectionEnd, std::u16string_view key) const;

    // Header lines as the section queries see them: a line starting with '[' whose last
    // character before its line break (LF, CR LF or the end of the text) is ']'.
    size_t CountHeaderLines() const;
    // The name of header line `index` (from 0), or nullopt.
    std::optional<std::u16string_view> HeaderLineName(size_t index) const;

private:
    bool LineStart(size_t i) const { return i == 0 || t_[i - 1] == u'\n'; }
    bool HeaderEnds(size_t close, Close rule) const;
    // Walks the header lines; stops at `index` and returns its name there.
    std::optional<std::u16string_view> WalkHeaders(size_t index, size_t& count) const;

    std::u16string_view t_;
};
