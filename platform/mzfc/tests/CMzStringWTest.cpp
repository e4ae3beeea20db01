#include "MzTestFixture.h"

#include <climits>

TEST(String2Int, ReadsDecimalLikeWcstol) {
    // Full-width digits are not decimal digits here.
    for (const char16_t* text : {u"0", u"", u"abc", u"-", u"+", u" - 3", u"３"})
        EXPECT_EQ(String2Int(text), 0) << Str(text).size();
    EXPECT_EQ(String2Int(nullptr), 0);
    const struct {
        const char16_t* text;
        int expected;
    } cases[] = {
        {u"-17", -17},
        {u"+8", 8},
        {u"  12", 12},
        {u"\t\n7", 7},
        {u"12abc", 12},
        {u"007", 7},
        {u"2147483647", INT_MAX},
        {u"-2147483648", INT_MIN},
        {u"99999999999999999999", INT_MAX},
        {u"-99999999999999999999", INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(String2Int(c.text), c.expected) << Str(c.text).size();
}

TEST(Int2String, WritesDecimal) {
    for (int n : {0, 5, -5, 1234567, INT_MAX, INT_MIN}) {
        const std::string digits = std::to_string(n);
        EXPECT_EQ(Str(Int2String(n)), std::u16string(digits.begin(), digits.end()));
    }
}

TEST(CMzStringW, EmptyCapacityAndAssignmentThatKeepsItAndCopies) {
    CMzStringW empty, zero(0), negative(-3), buf(16);
    EXPECT_TRUE(empty.IsEmpty() && zero.IsEmpty() && negative.IsEmpty() && buf.IsEmpty());
    EXPECT_EQ(Str(empty), u"");
    EXPECT_EQ(empty.Length(), 0);
    EXPECT_NE(negative.C_Str(), nullptr); // still a writable terminator
    EXPECT_EQ(buf.Capacity(), 16);
    std::u16string(15, u'a').copy(buf.C_Str(), 15);
    EXPECT_EQ(buf.Length(), 15);
    EXPECT_FALSE(buf.IsEmpty());
    // Assignment keeps the capacity (a formatting buffer stays one) and copies.
    CMzStringW big(64);
    big = u"hello";
    EXPECT_EQ(big.Capacity(), 64);
    CMzStringW copy(big), small(2);
    copy.C_Str()[0] = u'j';
    EXPECT_EQ(Str(big), u"hello");
    EXPECT_EQ(Str(copy), u"jello");
    small = u"longer than two";
    EXPECT_EQ(Str(small), u"longer than two");
    small = static_cast<const WCHAR*>(small) + 7; // from its own buffer
    EXPECT_EQ(Str(small), u"than two");
    small = static_cast<const WCHAR*>(nullptr);
    EXPECT_TRUE(small.IsEmpty());
    CMzStringW& alias = big;
    big = alias;
    EXPECT_EQ(Str(big), u"hello");
}
