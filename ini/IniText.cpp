#include "IniText.h"

bool IniText::HeaderEnds(size_t close, Close rule) const {
    size_t after = close + 1;
    if (after == t_.size() || t_[after] == u'\n')
        return true;
    if (t_[after] != u'\r')
        return false;
    return rule == Close::CrOrLine || (after + 1 < t_.size() && t_[after + 1] == u'\n');
}

std::optional<IniText::Header> IniText::FindHeader(std::u16string_view section, Close rule) const {
    if (section.empty())
        return std::nullopt;
    size_t from = 0;
    for (;;) {
        size_t p = t_.find(section, from);
        if (p == npos)
            return std::nullopt;
        size_t close = p + section.size();
        if (p >= 1 && t_[p - 1] == u'[' && LineStart(p - 1) && close < t_.size() &&
            t_[close] == u']' && HeaderEnds(close, rule))
            return Header{p - 1, close};
        from = close; // the search goes on right after this occurrence
    }
}

size_t IniText::SectionEnd(const Header& h) const {
    size_t lf = t_.find(u"\n[", h.close + 1);
    return lf == npos ? npos : lf + 1;
}

std::optional<IniText::Key> IniText::FindKey(const Header& h, size_t sectionEnd,
                                             std::u16string_view key) const {
    if (key.empty())
        return std::nullopt;
    const size_t limit = sectionEnd == npos ? t_.size() : sectionEnd;
    size_t lf = t_.find(u'\n', h.close + 1);
    while (lf != npos && lf + 1 < limit) {
        const size_t lineStart = lf + 1;
        size_t at = lineStart;
        for (;;) {
            if (t_.compare(at, key.size(), key) == 0 && at + key.size() < t_.size() &&
                t_[at + key.size()] == u'=') {
                Key k;
                k.lineStart = lineStart;
                k.keyStart = at;
                k.valueStart = at + key.size() + 1;
                size_t end = t_.find(u'\n', k.valueStart);
                if (end == npos) {
                    k.valueEnd = k.lineNext = t_.size();
                } else {
                    k.valueEnd = (end > k.valueStart && t_[end - 1] == u'\r') ? end - 1 : end;
                    k.lineNext = end + 1;
                }
                return k;
            }
            if (at < t_.size() && (t_[at] == u' ' || t_[at] == u'\t'))
                ++at;
            else
                break;
        }
        lf = t_.find(u'\n', lineStart);
    }
    return std::nullopt;
}

std::optional<std::u16string_view> IniText::WalkHeaders(size_t index, size_t& count) const {
    count = 0;
    size_t start = 0;
    while (start < t_.size()) {
        size_t lf = t_.find(u'\n', start);
        size_t end = lf == npos ? t_.size() : lf;
        size_t contentEnd = (lf != npos && end > start && t_[end - 1] == u'\r') ? end - 1 : end;
        if (t_[start] == u'[' && contentEnd >= start + 2 && t_[contentEnd - 1] == u']') {
            if (count == index)
                return t_.substr(start + 1, contentEnd - 1 - (start + 1));
            ++count;
        }
        if (lf == npos)
            break;
        start = lf + 1;
    }
    return std::nullopt;
}

size_t IniText::CountHeaderLines() const {
    size_t count = 0;
    WalkHeaders(npos, count);
    return count;
}

std::optional<std::u16string_view> IniText::HeaderLineName(size_t index) const {
    size_t count = 0;
    return WalkHeaders(index, count);
}
