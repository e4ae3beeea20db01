#include "ce/CeUtf16.h"

#include <gtest/gtest.h>

TEST(CeUtf16, RoundTripsAndReplacesWhatHasNoSpelling) {
    struct Case {
        std::u16string utf16;
        std::string utf8;
    } both[] = {
        {u"", ""},
        {u"abc", "abc"},
        {u"小儿子", "\xE5\xB0\x8F\xE5\x84\xBF\xE5\xAD\x90"},
        {u"é", "\xC3\xA9"},
        {u"😀", "\xF0\x9F\x98\x80"},
    };
    for (const Case& c : both) {
        EXPECT_EQ(CeUtf16::ToUtf8(c.utf16), c.utf8);
        EXPECT_EQ(CeUtf16::FromUtf8(c.utf8), c.utf16);
    }
    struct Bad {
        std::string utf8;
        std::u16string expected;
    } bad[] = {
        {"\xFF", u"\uFFFD"},
        {"a\xC3", u"a\uFFFD"},           // cut short
        {"\xC0\xAF", u"\uFFFD"},         // overlong
        {"\xED\xA0\x80", u"\uFFFD"},     // a surrogate spelled in UTF-8
        {"\xF4\x90\x80\x80", u"\uFFFD"}, // beyond U+10FFFF
        {"x\x80y", u"x\uFFFDy"},
    };
    for (const Bad& b : bad)
        EXPECT_EQ(CeUtf16::FromUtf8(b.utf8), b.expected);
    EXPECT_EQ(CeUtf16::ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
    EXPECT_EQ(CeUtf16::ToUtf8(static_cast<const WCHAR*>(nullptr)), "");
    EXPECT_EQ(CeUtf16::Length(nullptr), 0u);
}
