// The INI rules on bytes in memory: every kind of change, the reads, and the section
// queries, as tables of (bytes before, operation, result, bytes after).
#include "IniDocument.h"
#include "IniTestBytes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const auto B = IniBytes;
// Bytes from the first zero unit on: never read, always kept.
const std::string kTail = std::string("\0\0", 2) + IniDocument::Encode(u"\r\n[Save]\r\n  k=9");
const std::string kZeroUnit = B(u"[A]\r\n  k=1") + kTail;

// As IniWriteString: key null removes the section, value null removes the key.
TEST(IniChangeTest, GivesExactBytes) {
    const struct {
        const char* name;
        std::string before;
        const char16_t *section, *key, *value;
        std::string after; // empty: nothing changes
    } cases[] = {
        {"NewSectionGoesLastDespiteSimilarName", B(u"[Saves]\r\n  a=1\r\n[B]\r\n  b=2"), u"Save",
         u"Name", u"x", B(u"[Saves]\r\n  a=1\r\n[B]\r\n  b=2\r\n[Save]\r\n  Name=x")},
        {"NewKeyBeforeNextHeader", B(u"[A]\r\n  a=1\r\n[B]\r\n  b=2"), u"A", u"c", u"3",
         B(u"[A]\r\n  a=1\r\n  c=3\r\n[B]\r\n  b=2")},
        {"LongerValueMovesTheRest", B(u"[A]\r\n  a=1\r\n[B]\r\n  b=2"), u"A", u"a", u"12345",
         B(u"[A]\r\n  a=12345\r\n[B]\r\n  b=2")},
        {"ShorterValueKeepsBareLf", B(u"[A]\n  a=100\n  b=2"), u"A", u"a", u"7",
         B(u"[A]\n  a=7\n  b=2")},
        {"EmptyValue", B(u"[A]\r\n  a=1"), u"A", u"a", u"", B(u"[A]\r\n  a=")},
        {"BlanksBeforeEqualsAreNoKey", B(u"[Config]\r\n  isSoundOn = 1"), u"Config", u"isSoundOn",
         u"0", B(u"[Config]\r\n  isSoundOn = 1\r\n  isSoundOn=0")},
        {"TailOfLongerKeyIsNoKey", B(u"[Save]\r\n  HighScore=1\r\n  Score=5"), u"Save", u"Score",
         u"9", B(u"[Save]\r\n  HighScore=1\r\n  Score=9")},
        {"BlankAfterBracketIsNoHeader", B(u"[Save] \r\n  Name=x"), u"Save", u"Name", u"y",
         B(u"[Save] \r\n  Name=x\r\n[Save]\r\n  Name=y")},
        {"HeaderCaseMatters", B(u"[save]\r\n  Name=x"), u"Save", u"Name", u"y",
         B(u"[save]\r\n  Name=x\r\n[Save]\r\n  Name=y")},
        {"HeaderAtEndOfText", B(u"[A]"), u"A", u"k", u"v", B(u"[A]\r\n  k=v")},
        {"FirstOfTwoEqualHeadersCounts", B(u"[A]\r\n  k=1\r\n[A]\r\n  k=2"), u"A", u"k", u"3",
         B(u"[A]\r\n  k=3\r\n[A]\r\n  k=2")},
        {"UnindentedKeyReplacedInPlace", B(u"[A]\r\nk=1\r\nz=2"), u"A", u"k", u"5",
         B(u"[A]\r\nk=5\r\nz=2")},
        {"RemoveKeyKeepsBytesFromZeroUnit", kZeroUnit, u"A", u"k", nullptr, B(u"[A]\r\n") + kTail},
        {"RemoveSectionKeepsBytesFromZeroUnit", kZeroUnit, u"A", nullptr, nullptr, B(u"") + kTail},
        {"ZeroUnitRightAfterMark", B(u"") + std::string("\0\0", 2), u"S", u"k", u"v",
         B(u"[S]\r\n  k=v") + std::string("\0\0", 2)},
        {"OddByteBecomesWholeUnit", B(u"") + "A", u"S", u"k", u"v", B(u"A\r\n[S]\r\n  k=v")},
        {"OddByteAfterLastKey", B(u"[S]\r\n  a=1") + "X", u"S", u"b", u"2",
         B(u"[S]\r\n  a=1X\r\n  b=2")},
        {"OddZeroByteIsTail", B(u"[S]") + std::string("\0", 1), u"S", u"k", u"v",
         B(u"[S]\r\n  k=v") + std::string("\0", 1)},
        {"SetOnDamagedFileKeepsBytesFromZeroUnit", kZeroUnit + "Q", u"A", u"k", u"新",
         B(u"[A]\r\n  k=新") + kTail + "Q"},

        {"RemoveKeyTakesItsLine", B(u"[A]\r\n  a=1\r\n  b=2\r\n[B]\r\n  c=3"), u"A", u"a", nullptr,
         B(u"[A]\r\n  b=2\r\n[B]\r\n  c=3")},
        {"RemoveLastKeyLeavesBreak", B(u"[A]\r\n  a=1\r\n  b=2"), u"A", u"b", nullptr,
         B(u"[A]\r\n  a=1\r\n")},
        // What the removal above leaves, with a key added: one empty line stays.
        {"RemovingLastKeyThenAddingLeavesOneEmptyLine", B(u"[A]\r\n  a=1\r\n"), u"A", u"c", u"3",
         B(u"[A]\r\n  a=1\r\n\r\n  c=3")},
        {"RemoveKeyWithBareLf", B(u"[A]\n  a=1\n  b=2\n[B]\n  c=3"), u"A", u"b", nullptr,
         B(u"[A]\n  a=1\n[B]\n  c=3")},
        {"RemoveDeeplyIndentedKey", B(u"[A]\r\n      a=1\r\nb=2"), u"A", u"a", nullptr,
         B(u"[A]\r\nb=2")},
        {"RemoveAbsentKeyChangesNothing", B(u"[A]\r\n  a=1"), u"A", u"b", nullptr, ""},
        {"RemoveKeyOfAbsentSection", B(u"[A]\r\n  a=1"), u"B", u"a", nullptr, ""},
        {"RemoveMiddleSection", B(u"[A]\r\n  a=1\r\n[B]\r\n  b=2\r\n[C]\r\n  c=3"), u"B", nullptr,
         nullptr, B(u"[A]\r\n  a=1\r\n[C]\r\n  c=3")},
        {"RemoveLastSectionLeavesBreak", B(u"[A]\r\n  a=1\r\n[B]\r\n  b=2"), u"B", nullptr, nullptr,
         B(u"[A]\r\n  a=1\r\n")},
        {"RemoveFirstSection", B(u"[A]\r\n  a=1\r\n[B]\r\n  b=2"), u"A", nullptr, nullptr,
         B(u"[B]\r\n  b=2")},
        {"RemoveAbsentSection", B(u"[A]\r\n  a=1"), u"B", nullptr, nullptr, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        IniDocument doc(c.before);
        EXPECT_TRUE(doc.Valid());
        std::string out;
        const bool changed = !c.key     ? doc.RemoveSection(c.section, out)
                             : !c.value ? doc.RemoveKey(c.section, c.key, out)
                                        : doc.Set(c.section, c.key, c.value, out);
        EXPECT_EQ(changed ? Printable(out) : "", Printable(c.after));
    }
}

TEST(IniReadTest, FindsValue) {
    const struct {
        const char* name;
        std::string bytes;
        const char16_t *section, *key;
        const char16_t* value; // null: not found
    } cases[] = {
        {"BlanksKept", B(u"[A]\r\n  k= v \r\n"), u"A", u"k", u" v "},
        {"EmptyValue", B(u"[A]\r\n  k=\r\n  j=1"), u"A", u"k", u""},
        {"EqualsAndBracketInValue", B(u"[A]\r\n  k=a=[b]"), u"A", u"k", u"a=[b]"},
        {"TabIndent", B(u"[A]\r\n\tk=1"), u"A", u"k", u"1"},
        {"KeyAbsent", B(u"[A]\r\n  x=1"), u"A", u"k", nullptr},
        {"SectionAbsent", B(u"[A]\r\n  k=1"), u"B", u"k", nullptr},
        {"AnyBracketLineEndsSection", B(u"[A]\r\n  x=1\r\n[junk\r\n  k=2"), u"A", u"k", nullptr},
        {"BareCrIsNoLineBreak", B(u"[A]\r  k=1"), u"A", u"k", nullptr},
        {"NameInsideOtherHeader", B(u"[AA]\r\n  k=1\r\n[A]\r\n  k=2"), u"A", u"k", u"2"},
    };
    for (const auto& c : cases) {
        IniDocument doc(c.bytes);
        auto v = doc.Valid() ? doc.Read(c.section, c.key) : std::nullopt;
        EXPECT_TRUE(c.value ? v == std::u16string_view(c.value) : !v) << c.name;
    }
}

// names: every header's name in order; the count is their number.
TEST(IniSectionQueries, HeaderLineRules) {
    const struct {
        std::u16string text;
        std::vector<std::u16string> names;
    } cases[] = {
        {SettingsText(u"x", u"1"), {u"Config", u"Zellik", u"Save"}},
        {u"[a]b]\r\n", {u"a]b"}},
        {u"[a\r\n[b]", {u"b"}},
        {u"[]", {u""}},
        {u"[a]\r\r\n[b]", {u"b"}},
        {u" [a]\r\n", {}},
        {u"[a]\r", {}},
        {u"[a]\n[b]\n[c]", {u"a", u"b", u"c"}},
        {u"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Printable(B(c.text)));
        IniDocument doc(B(c.text));
        EXPECT_EQ(doc.SectionCount(), c.names.size());
        for (size_t i = 0; i < c.names.size(); ++i)
            EXPECT_TRUE(doc.SectionName(i) == std::u16string_view(c.names[i])) << i;
    }
    // Whether a section exists follows the readers' header rules, not the ones above.
    const struct {
        std::u16string text;
        bool exists;
    } exists[] = {
        {u"[S]", true},    {u"[S]\r\n", true},   {u"[S]\n  k=1", true},
        {u"[S]\rX", true}, {u"[S] ", false},     {u"[A]\r\n[S]\r\n", true},
        {u"[s]", false},   {u"[S]X\r\n", false}, {u" [S]\r", false},
    };
    for (const auto& c : exists)
        EXPECT_EQ(IniDocument(B(c.text)).SectionExists(u"S"), c.exists) << Printable(B(c.text));
}

} // namespace
