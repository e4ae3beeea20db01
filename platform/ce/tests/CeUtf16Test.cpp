#include "ce/CeUtf16.h"

#include <gtest/gtest.h>

// Each conversion comes in two forms: the lenient one puts U+FFFD for what has no
// spelling, the strict one (for names) refuses it.
TEST(CeUtf16, RoundTripsAndReplacesOrRefusesWhatHasNoSpelling) {
    struct Case {
        std::u16string utf16;
        std::string utf8;
    } both[] = {
        {u"", ""},
        {u"abc", "abc"},
        {u"小儿子", "\xE5\xB0\x8F\xE5\x84\xBF\xE5\xAD\x90"},
        {u"é", "\xC3\xA9"},
        {u"😀\uFFFD", "\xF0\x9F\x98\x80\xEF\xBF\xBD"}, // a real U+FFFD is a name like any
    };
    for (const Case& c : both) {
        EXPECT_EQ(CeUtf16::ToUtf8(c.utf16), c.utf8);
        EXPECT_EQ(CeUtf16::FromUtf8(c.utf8), c.utf16);
        std::string utf8 = "stale";
        std::u16string utf16 = u"stale";
        EXPECT_TRUE(CeUtf16::ToUtf8(std::u16string_view(c.utf16), utf8));
        EXPECT_EQ(utf8, c.utf8);
        EXPECT_TRUE(CeUtf16::FromUtf8(std::string_view(c.utf8), utf16));
        EXPECT_EQ(utf16, c.utf16);
    }
    struct Bad {
        std::string utf8;
        std::u16string lenient;
    } bad[] = {
        {"\xFF", u"\uFFFD"},
        {"a\xC3", u"a\uFFFD"},           // cut short
        {"\xC0\xAF", u"\uFFFD"},         // overlong
        {"\xED\xA0\x80", u"\uFFFD"},     // a surrogate spelled in UTF-8
        {"\xF4\x90\x80\x80", u"\uFFFD"}, // beyond U+10FFFF
        {"x\x80y", u"x\uFFFDy"},
    };
    for (const Bad& b : bad) {
        EXPECT_EQ(CeUtf16::FromUtf8(b.utf8), b.lenient);
        std::u16string out;
        EXPECT_FALSE(CeUtf16::FromUtf8(std::string_view(b.utf8), out)) << b.utf8;
    }
    struct Unpaired {
        std::u16string utf16;
        std::string lenient;
    } unpaired[] = {
        {u"\xD800", "\xEF\xBF\xBD"},
        {u"a\xDC00", "a\xEF\xBF\xBD"},
        {std::u16string(u"\xD83D") + u"b", "\xEF\xBF\xBD"
                                           "b"},
        {u"x\xDE00\xD83D", "x\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const Unpaired& u : unpaired) {
        EXPECT_EQ(CeUtf16::ToUtf8(u.utf16), u.lenient);
        std::string out;
        EXPECT_FALSE(CeUtf16::ToUtf8(std::u16string_view(u.utf16), out));
    }
    EXPECT_EQ(CeUtf16::ToUtf8(static_cast<const WCHAR*>(nullptr)), "");
    EXPECT_EQ(CeUtf16::Length(nullptr), 0u);
}

TEST(CeUtf16, UpperFoldsLettersAndLeavesTheRest) {
    EXPECT_EQ(CeUtf16::Upper(u"abc.Txt"), u"ABC.TXT");
    EXPECT_EQ(CeUtf16::Upper(u"小儿子1"), u"小儿子1");
    EXPECT_EQ(CeUtf16::Upper(u""), u"");
}
