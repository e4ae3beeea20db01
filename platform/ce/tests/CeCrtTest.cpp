// The C runtime over UTF-16: formatting and its limits, number parsing, upper-casing, strings,
// the phone's random generator, UTF-8 conversions, and the clock.
#include "ce/CeCrt.h"
#include "ce/CeTime.h"
#include "ce/CeUtf16.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

std::string Narrow(const std::u16string& s) {
    return std::string(s.begin(), s.end());
}

// The count returned must be the length written.
template <typename... Args> std::u16string Format(const char16_t* format, Args... args) {
    WCHAR buf[64];
    const int n = wsprintfW(buf, format, args...);
    EXPECT_EQ(n, static_cast<int>(std::char_traits<char16_t>::length(buf))) << Narrow(format);
    return buf;
}

TEST(CeFormat, Conversions) {
    struct Case {
        const char16_t* format;
        int arg;
        const char* expected;
    } cases[] = {
        {u"%d", 42, "42"},       {u"%d", -7, "-7"},         {u"%d", INT_MIN, "-2147483648"},
        {u"%i", 0, "0"},         {u"%u", -1, "4294967295"}, {u"%x", 255, "ff"},
        {u"%X", 0xBEEF, "BEEF"}, {u"%5d", 42, "   42"},     {u"%-5d|", 42, "42   |"},
        {u"%05d", -42, "-0042"}, {u"%.3d", 7, "007"},       {u"%c", u'Z', "Z"},
        {u"%ld", 12, "12"},      {u"%hd", 65537, "1"},      {u"100%%", 0, "100%"},
        {u"%q", 0, "%q"},        {u"end%", 0, "end"},       {u"%02d:%02d", 5, "05:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Narrow(Format(c.format, c.arg, 0)), c.expected) << Narrow(c.format);
    // Strings, and widths taken from the arguments.
    EXPECT_TRUE(Format(u"[%6s][%-4s][%.2s]", u"ab", u"c", u"xyz") == u"[    ab][c   ][xy]");
    EXPECT_TRUE(Format(u"%s", static_cast<const WCHAR*>(nullptr)) == u"(null)");
    EXPECT_TRUE(Format(u"%*d|%-*d", 4, 1, 3, 2) == u"   1|2  ");
    EXPECT_TRUE(Format(u"得分：%d", 12) == u"得分：12");
}

TEST(CeFormat, NeverWritesPastTheLimit) {
    std::u16string big(5000, u'a');
    WCHAR buf[2048];
    std::fill(std::begin(buf), std::end(buf), u'#');
    EXPECT_EQ(wsprintfW(buf, u"%s", big.c_str()), 1023);
    EXPECT_EQ(buf[1023], 0);
    EXPECT_EQ(buf[1024], u'#');
    EXPECT_EQ(wsprintfW(buf, u"%2000d", 1), 1023);
    EXPECT_EQ(buf[1024], u'#');

    struct Case {
        int cch;
        const char* expected;
        int written;
    } cases[] = {{1, "", 0}, {2, "1", 1}, {5, "1234", 4}, {6, "12345", 5}, {9, "12345", 5}};
    for (const auto& c : cases) {
        std::fill(std::begin(buf), std::end(buf), u'#');
        EXPECT_EQ(wnsprintfW(buf, c.cch, u"%d", 12345), c.written) << c.cch;
        EXPECT_EQ(Narrow(buf), c.expected) << c.cch;
        EXPECT_EQ(buf[c.cch], u'#') << c.cch;
    }
    std::fill(std::begin(buf), std::end(buf), u'#');
    EXPECT_EQ(wnsprintfW(buf, 0, u"%d", 1), 0);
    EXPECT_EQ(wnsprintfW(buf, -3, u"%d", 1), 0);
    EXPECT_EQ(buf[0], u'#');
}

TEST(CeWcstol, Cases) {
    struct Case {
        const char16_t* text;
        int base;
        long value;
        int consumed;
    } cases[] = {
        {u"  -42", 10, -42, 5},
        {u"\t+7x", 10, 7, 3},
        {u"-", 10, 0, 0},
        {u"2147483648", 10, 2147483647, 10},
        {u"-2147483648", 10, -2147483647L - 1, 11},
        {u"-99999999999999999999", 10, -2147483647L - 1, 21},
        {u"0x1F", 16, 31, 4},
        {u"0x1F", 0, 31, 4},
        {u"0xZ", 16, 0, 1},
        {u"017", 0, 15, 3},
        {u"z", 36, 35, 1},
        {u"12", 1, 0, 0},
    };
    for (const auto& c : cases) {
        WCHAR* end = nullptr;
        EXPECT_EQ(wcstol(c.text, &end, c.base), c.value) << Narrow(c.text);
        EXPECT_EQ(end - c.text, c.consumed) << Narrow(c.text);
    }
}

TEST(CeCase, UpperCasing) {
    struct Case {
        char16_t in, out;
    } cases[] = {
        {u'z', u'Z'}, {u'1', u'1'}, {u'é', u'É'}, {u'ÿ', u'Ÿ'}, {u'ß', u'ß'},   {u'÷', u'÷'},
        {u'ā', u'Ā'}, {u'ł', u'Ł'}, {u'ž', u'Ž'}, {u'ı', u'I'}, {u'α', u'Α'},   {u'ς', u'Σ'},
        {u'ώ', u'Ώ'}, {u'я', u'Я'}, {u'ё', u'Ё'}, {u'ѣ', u'Ѣ'}, {u'ａ', u'Ａ'}, {u'中', u'中'},
    };
    for (const auto& c : cases)
        EXPECT_EQ(static_cast<int>(towupper(c.in)), static_cast<int>(c.out)) << int(c.in);
    WCHAR ext[] = u".iNi";
    EXPECT_TRUE(std::u16string(_wcsupr(ext)) == u".INI");
    EXPECT_EQ(_wcsicmp(u"Config.INI", u"config.ini"), 0);
    EXPECT_LT(_wcsicmp(u"abc", u"ABD"), 0);
}

TEST(CeStrings, Basics) {
    const WCHAR* s = u"Disk\\Programs\\a.ini";
    EXPECT_EQ(wcslen(s), 19u);
    EXPECT_EQ(wcschr(s, u'\\') - s, 4);
    EXPECT_EQ(wcsrchr(s, u'\\') - s, 13);
    EXPECT_EQ(wcschr(s, u'#'), nullptr);
    EXPECT_EQ(wcsstr(s, u"Programs") - s, 5);
    EXPECT_EQ(wcsstr(s, u"programs"), nullptr);
    EXPECT_EQ(wcscmp(u"a", u"a"), 0);
    EXPECT_LT(wcscmp(u"a", u"b"), 0);
    EXPECT_GT(wcscmp(u"ab", u"a"), 0);
    EXPECT_EQ(wcsncmp(u"abc", u"abd", 2), 0);
    WCHAR buf[8];
    wcscpy(buf, u"xyz");
    EXPECT_TRUE(std::u16string(buf) == u"xyz");
    wcsncpy(buf, u"ab", 5);
    EXPECT_TRUE(std::u16string(buf, 5) == std::u16string(u"ab\0\0\0", 5));
}

TEST(CeRand, PhoneSequences) {
    struct Case {
        unsigned seed;
        int values[6];
    } cases[] = {
        {1, {41, 18467, 6334, 26500, 19169, 15724}},
        {0xFFFFFFFFu, {35, 29739, 3374, 11141, 31308, 7870}},
    };
    for (const auto& c : cases) {
        srand(c.seed);
        for (int v : c.values)
            EXPECT_EQ(rand(), v) << c.seed;
    }
    srand(1);
}

// Each conversion comes in two forms: the lenient one puts U+FFFD for what has no
// spelling, the strict one (for names) refuses it. Both share one converter, so text that
// converts cleanly is checked through the strict form, which must also replace stale output.
TEST(CeUtf16, RoundTripsAndReplacesOrRefusesWhatHasNoSpelling) {
    struct Case {
        std::u16string utf16;
        std::string utf8;
    } both[] = {
        {u"", ""},
        {u"é", "\xC3\xA9"},
        {u"😀\uFFFD", "\xF0\x9F\x98\x80\xEF\xBF\xBD"}, // a real U+FFFD is a name like any
    };
    for (const Case& c : both) {
        SCOPED_TRACE(c.utf8);
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
}

struct VirtualClock {
    VirtualClock() { CeClockSetVirtual(true); }
    ~VirtualClock() {
        CeClockSetLocalTime(nullptr);
        CeClockSetVirtual(false);
    }
};

// Ticks move only when advanced or slept; an overridden local time follows them.
TEST(CeClock, VirtualTicksMoveOnlyWhenAdvanced) {
    VirtualClock clock;
    DWORD start = GetTickCount();
    EXPECT_EQ(GetTickCount(), start);
    CeClockAdvance(250);
    EXPECT_EQ(GetTickCount(), start + 250);
    Sleep(40); // a sleeping program lets virtual time pass
    EXPECT_EQ(GetTickCount(), start + 290);

    SYSTEMTIME set = {2026, 12, 0, 31, 23, 59, 59, 900};
    CeClockSetLocalTime(&set);
    CeClockAdvance(100);
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ((std::vector<WORD>{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                                 now.wSecond, now.wMilliseconds, now.wDayOfWeek}),
              (std::vector<WORD>{2027, 1, 1, 0, 0, 0, 0, 5})); // a Friday
    CeClockAdvance(86400000u * 30); // on across the end of February, in two steps
    CeClockAdvance(86400000u * 29); // (59 days of milliseconds overflow 32 bits)
    GetLocalTime(&now);
    EXPECT_EQ(now.wMonth, 3);
    EXPECT_EQ(now.wDay, 1);
}

// An invalid override is ignored, null restores host time, and real ticks move.
TEST(CeClock, InvalidOverrideIsIgnoredAndNullRestoresHostTime) {
    SYSTEMTIME bad = {2026, 13, 0, 1, 0, 0, 0, 0};
    CeClockSetLocalTime(&bad);
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_GE(now.wYear, 2024);
    EXPECT_LE(now.wMonth, 12);
    CeClockSetLocalTime(nullptr);
    GetSystemTime(&now);
    EXPECT_GE(now.wMonth, 1);
    DWORD a = GetTickCount();
    Sleep(5);
    EXPECT_GE(GetTickCount() - a, 4u);
}

} // namespace
