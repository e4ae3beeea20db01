#include "mzfc/mzfc.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

TEST(String2Int, ReadsDecimalLikeWcstol) {
    struct Case {
        const char16_t* text;
        int expected;
    } cases[] = {
        {u"0", 0},
        {u"42", 42},
        {u"-17", -17},
        {u"+8", 8},
        {u"  12", 12},
        {u"\t\n7", 7},
        {u"12abc", 12},
        {u"007", 7},
        {u"", 0},
        {u"abc", 0},
        {u"-", 0},
        {u"+", 0},
        {u" - 3", 0},
        {u"2147483647", INT_MAX},
        {u"-2147483648", INT_MIN},
        {u"99999999999999999999", INT_MAX},
        {u"-99999999999999999999", INT_MIN},
        {u"３", 0}, // full-width digits are not decimal digits here
    };
    for (const Case& c : cases)
        EXPECT_EQ(String2Int(c.text), c.expected) << std::u16string(c.text).size();
    EXPECT_EQ(String2Int(nullptr), 0);
}

TEST(Int2String, WritesDecimal) {
    struct Case {
        int n;
        const char16_t* expected;
    } cases[] = {{0, u"0"},
                 {5, u"5"},
                 {-5, u"-5"},
                 {1234567, u"1234567"},
                 {INT_MAX, u"2147483647"},
                 {INT_MIN, u"-2147483648"}};
    for (const Case& c : cases)
        EXPECT_EQ(std::u16string(static_cast<const WCHAR*>(Int2String(c.n))), c.expected) << c.n;
}

TEST(CMzStringW, EmptyAndCapacity) {
    CMzStringW empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(std::u16string(static_cast<const WCHAR*>(empty)), u"");
    EXPECT_EQ(empty.Length(), 0);

    CMzStringW buf(16);
    EXPECT_TRUE(buf.IsEmpty());
    EXPECT_EQ(buf.Capacity(), 16);
    WCHAR* p = buf.C_Str();
    for (int i = 0; i < 15; ++i)
        p[i] = u'a';
    p[15] = 0;
    EXPECT_EQ(buf.Length(), 15);
    EXPECT_FALSE(buf.IsEmpty());

    CMzStringW zero(0), negative(-3);
    EXPECT_TRUE(zero.IsEmpty());
    EXPECT_TRUE(negative.IsEmpty());
    EXPECT_NE(negative.C_Str(), nullptr); // still a writable terminator
}

TEST(CMzStringW, AssignmentKeepsCapacityAndCopies) {
    CMzStringW buf(64);
    buf = u"hello";
    EXPECT_EQ(buf.Capacity(), 64); // a formatting buffer stays a formatting buffer
    EXPECT_EQ(std::u16string(static_cast<const WCHAR*>(buf)), u"hello");

    CMzStringW copy(buf);
    copy.C_Str()[0] = u'j';
    EXPECT_EQ(std::u16string(static_cast<const WCHAR*>(buf)), u"hello");
    EXPECT_EQ(std::u16string(static_cast<const WCHAR*>(copy)), u"jello");

    CMzStringW small(2);
    small = u"longer than two";
    EXPECT_EQ(std::u16string(static_cast<const WCHAR*>(small)), u"longer than two");

    small = static_cast<const WCHAR*>(small) + 7; // from its own buffer
    EXPECT_EQ(std::u16string(static_cast<const WCHAR*>(small)), u"than two");
    small = static_cast<const WCHAR*>(nullptr);
    EXPECT_TRUE(small.IsEmpty());
    CMzStringW& alias = buf;
    buf = alias;
    EXPECT_EQ(std::u16string(static_cast<const WCHAR*>(buf)), u"hello");
}
