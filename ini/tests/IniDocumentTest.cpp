// The INI rules on bytes in memory: every kind of change, the reads, and the section
// queries, as tables of (bytes before, operation, result, bytes after).
#include "IniDocument.h"
#include "IniTestBytes.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

enum class Op { Set, RemoveKey, RemoveSection };

struct ChangeCase {
    const char* name;
    std::string before;
    Op op;
    std::u16string section, key, value;
    std::optional<std::string> after; // nullopt: nothing changes
};

// Bytes from the first zero unit on: never read, always kept.
const std::string kTail = std::string("\0\0", 2) + IniDocument::Encode(u"\r\n[Save]\r\n  k=9");
const std::string kZeroUnit = IniBytes(u"[A]\r\n  k=1") + kTail;

std::vector<ChangeCase> ChangeCases() {
    return {
        {"FirstKeyOfEmptyFileHasNoLeadingBreak", IniBytes(u""), Op::Set, u"Config", u"isSoundOn",
         u"0", IniBytes(u"[Config]\r\n  isSoundOn=0")},
        {"NewSectionAppendedAfterBreak", IniBytes(u"[Config]\r\n  isSoundOn=0"), Op::Set, u"Zellik",
         u"Version", u"2", IniBytes(u"[Config]\r\n  isSoundOn=0\r\n[Zellik]\r\n  Version=2")},
        {"NewSectionGoesLastDespiteSimilarName", IniBytes(u"[Saves]\r\n  a=1\r\n[B]\r\n  b=2"),
         Op::Set, u"Save", u"Name", u"x",
         IniBytes(u"[Saves]\r\n  a=1\r\n[B]\r\n  b=2\r\n[Save]\r\n  Name=x")},
        {"NewKeyInLastSectionAppended", IniBytes(u"[Save]\r\n  Name=x"), Op::Set, u"Save", u"Score",
         u"5", IniBytes(u"[Save]\r\n  Name=x\r\n  Score=5")},
        {"NewKeyBeforeNextHeader", IniBytes(u"[A]\r\n  a=1\r\n[B]\r\n  b=2"), Op::Set, u"A", u"c",
         u"3", IniBytes(u"[A]\r\n  a=1\r\n  c=3\r\n[B]\r\n  b=2")},
        {"LongerValueMovesTheRest", IniBytes(u"[A]\r\n  a=1\r\n[B]\r\n  b=2"), Op::Set, u"A", u"a",
         u"12345", IniBytes(u"[A]\r\n  a=12345\r\n[B]\r\n  b=2")},
        {"ShorterValueKeepsBareLf", IniBytes(u"[A]\n  a=100\n  b=2"), Op::Set, u"A", u"a", u"7",
         IniBytes(u"[A]\n  a=7\n  b=2")},
        {"ValueOnLastLine", IniBytes(u"[A]\r\n  a=1"), Op::Set, u"A", u"a", u"2",
         IniBytes(u"[A]\r\n  a=2")},
        {"EmptyValue", IniBytes(u"[A]\r\n  a=1"), Op::Set, u"A", u"a", u"",
         IniBytes(u"[A]\r\n  a=")},
        {"BlanksBeforeEqualsAreNoKey", IniBytes(u"[Config]\r\n  isSoundOn = 1"), Op::Set, u"Config",
         u"isSoundOn", u"0", IniBytes(u"[Config]\r\n  isSoundOn = 1\r\n  isSoundOn=0")},
        {"TailOfLongerKeyIsNoKey", IniBytes(u"[Save]\r\n  HighScore=1\r\n  Score=5"), Op::Set,
         u"Save", u"Score", u"9", IniBytes(u"[Save]\r\n  HighScore=1\r\n  Score=9")},
        {"KeyInsideValueIsNoKey", IniBytes(u"[Save]\r\n  Name=Score=99"), Op::Set, u"Save",
         u"Score", u"1", IniBytes(u"[Save]\r\n  Name=Score=99\r\n  Score=1")},
        {"BlankAfterBracketIsNoHeader", IniBytes(u"[Save] \r\n  Name=x"), Op::Set, u"Save", u"Name",
         u"y", IniBytes(u"[Save] \r\n  Name=x\r\n[Save]\r\n  Name=y")},
        {"HeaderCaseMatters", IniBytes(u"[save]\r\n  Name=x"), Op::Set, u"Save", u"Name", u"y",
         IniBytes(u"[save]\r\n  Name=x\r\n[Save]\r\n  Name=y")},
        {"HeaderAtEndOfText", IniBytes(u"[A]"), Op::Set, u"A", u"k", u"v",
         IniBytes(u"[A]\r\n  k=v")},
        {"FirstOfTwoEqualHeadersCounts", IniBytes(u"[A]\r\n  k=1\r\n[A]\r\n  k=2"), Op::Set, u"A",
         u"k", u"3", IniBytes(u"[A]\r\n  k=3\r\n[A]\r\n  k=2")},
        {"UnindentedKeyReplacedInPlace", IniBytes(u"[A]\r\nk=1\r\nz=2"), Op::Set, u"A", u"k", u"5",
         IniBytes(u"[A]\r\nk=5\r\nz=2")},
        {"NewKeyGoesBeforeZeroUnit", kZeroUnit, Op::Set, u"A", u"n", u"v",
         IniBytes(u"[A]\r\n  k=1\r\n  n=v") + kTail},
        {"NewSectionGoesBeforeZeroUnit", kZeroUnit, Op::Set, u"B", u"n", u"v",
         IniBytes(u"[A]\r\n  k=1\r\n[B]\r\n  n=v") + kTail},
        {"RewriteKeepsBytesFromZeroUnit", kZeroUnit, Op::Set, u"A", u"k", u"2",
         IniBytes(u"[A]\r\n  k=2") + kTail},
        {"RemoveKeyKeepsBytesFromZeroUnit", kZeroUnit, Op::RemoveKey, u"A", u"k", u"",
         IniBytes(u"[A]\r\n") + kTail},
        {"RemoveSectionKeepsBytesFromZeroUnit", kZeroUnit, Op::RemoveSection, u"A", u"", u"",
         IniBytes(u"") + kTail},
        {"OddTailAfterZeroUnitKeptAsIs", IniBytes(u"[A]") + std::string("\0\0odd", 5), Op::Set,
         u"A", u"k", u"v", IniBytes(u"[A]\r\n  k=v") + std::string("\0\0odd", 5)},
        {"ZeroUnitRightAfterMark", std::string("\xFF\xFE\0\0", 4), Op::Set, u"S", u"k", u"v",
         IniBytes(u"[S]\r\n  k=v") + std::string("\0\0", 2)},
        {"OddByteBecomesWholeUnit", std::string(IniDocument::kMark) + "A", Op::Set, u"S", u"k",
         u"v", IniBytes(u"A\r\n[S]\r\n  k=v")},
        {"OddByteAfterLastKey", IniBytes(u"[S]\r\n  a=1") + "X", Op::Set, u"S", u"b", u"2",
         IniBytes(u"[S]\r\n  a=1X\r\n  b=2")},
        {"OddZeroByteIsTail", IniBytes(u"[S]") + std::string("\0", 1), Op::Set, u"S", u"k", u"v",
         IniBytes(u"[S]\r\n  k=v") + std::string("\0", 1)},

        {"RemoveKeyTakesItsLine", IniBytes(u"[A]\r\n  a=1\r\n  b=2\r\n[B]\r\n  c=3"), Op::RemoveKey,
         u"A", u"a", u"", IniBytes(u"[A]\r\n  b=2\r\n[B]\r\n  c=3")},
        {"RemoveLastKeyLeavesBreak", IniBytes(u"[A]\r\n  a=1\r\n  b=2"), Op::RemoveKey, u"A", u"b",
         u"", IniBytes(u"[A]\r\n  a=1\r\n")},
        {"RemoveKeyWithBareLf", IniBytes(u"[A]\n  a=1\n  b=2\n[B]\n  c=3"), Op::RemoveKey, u"A",
         u"b", u"", IniBytes(u"[A]\n  a=1\n[B]\n  c=3")},
        {"RemoveUnindentedKeyOnlyItsLine", IniBytes(u"[A]\r\na=1\r\nb=2"), Op::RemoveKey, u"A",
         u"a", u"", IniBytes(u"[A]\r\nb=2")},
        {"RemoveDeeplyIndentedKey", IniBytes(u"[A]\r\n      a=1\r\nb=2"), Op::RemoveKey, u"A", u"a",
         u"", IniBytes(u"[A]\r\nb=2")},
        {"RemoveAbsentKeyChangesNothing", IniBytes(u"[A]\r\n  a=1"), Op::RemoveKey, u"A", u"b", u"",
         std::nullopt},
        {"RemoveKeyOfAbsentSection", IniBytes(u"[A]\r\n  a=1"), Op::RemoveKey, u"B", u"a", u"",
         std::nullopt},
        {"RemoveMiddleSection", IniBytes(u"[A]\r\n  a=1\r\n[B]\r\n  b=2\r\n[C]\r\n  c=3"),
         Op::RemoveSection, u"B", u"", u"", IniBytes(u"[A]\r\n  a=1\r\n[C]\r\n  c=3")},
        {"RemoveLastSectionLeavesBreak", IniBytes(u"[A]\r\n  a=1\r\n[B]\r\n  b=2"),
         Op::RemoveSection, u"B", u"", u"", IniBytes(u"[A]\r\n  a=1\r\n")},
        {"RemoveFirstSection", IniBytes(u"[A]\r\n  a=1\r\n[B]\r\n  b=2"), Op::RemoveSection, u"A",
         u"", u"", IniBytes(u"[B]\r\n  b=2")},
        {"RemoveAbsentSection", IniBytes(u"[A]\r\n  a=1"), Op::RemoveSection, u"B", u"", u"",
         std::nullopt},
    };
}

void PrintTo(const ChangeCase& c, std::ostream* os) {
    *os << c.name;
}

class IniChangeTest : public testing::TestWithParam<ChangeCase> {};

TEST_P(IniChangeTest, GivesExactBytes) {
    const ChangeCase& c = GetParam();
    IniDocument doc(c.before);
    ASSERT_TRUE(doc.Valid());
    std::string out;
    bool changed = c.op == Op::Set         ? doc.Set(c.section, c.key, c.value, out)
                   : c.op == Op::RemoveKey ? doc.RemoveKey(c.section, c.key, out)
                                           : doc.RemoveSection(c.section, out);
    ASSERT_EQ(changed, c.after.has_value());
    if (changed) {
        EXPECT_EQ(Printable(out), Printable(*c.after));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, IniChangeTest, testing::ValuesIn(ChangeCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IniChangeSequence, RemovingLastKeyThenAddingLeavesOneEmptyLine) {
    std::string bytes = IniBytes(u"[A]\r\n  a=1\r\n  b=2");
    std::string next;
    ASSERT_TRUE(IniDocument(bytes).RemoveKey(u"A", u"b", next));
    std::string last;
    ASSERT_TRUE(IniDocument(next).Set(u"A", u"c", u"3", last));
    EXPECT_EQ(Printable(last), Printable(IniBytes(u"[A]\r\n  a=1\r\n\r\n  c=3")));
}

// On files with a stray zero unit or odd byte, every set is read back, the same set
// again changes nothing, and the bytes from the zero unit on stay at the end.
TEST(IniChangeSequence, SetsOnDamagedFilesAreReadBackAndRepeatable) {
    const std::string settings = IniBytes(SettingsText(u"x", u"7"));
    const struct {
        const char* name;
        std::string bytes;
        std::string tail;
    } files[] = {
        {"zeroAfterConfig", IniBytes(u"[Config]\r\n  isSoundOn=0") + kTail, kTail},
        {"zeroAfterAll", settings + kTail, kTail},
        {"oddByte", settings + "Q", ""},
        {"oddByteNoConfig", IniBytes(u"[Save]\r\n  Name=x") + "Q", ""},
        {"zeroThenOdd", settings + kTail + "Q", kTail + "Q"},
        {"markThenOdd", std::string(IniDocument::kMark) + "Q", ""},
    };
    const std::u16string writes[][3] = {{u"Config", u"isSoundOn", u"1"},
                                        {u"Config", u"isSoundOn", u"0"},
                                        {u"Save", u"Name", u"新名字"},
                                        {u"New", u"k", u"v"}};
    for (const auto& f : files) {
        std::string bytes = f.bytes;
        for (const auto& w : writes) {
            SCOPED_TRACE(std::string(f.name) + " " + Printable(IniDocument::Encode(w[0] + w[1])));
            std::string once, twice;
            ASSERT_TRUE(IniDocument(bytes).Set(w[0], w[1], w[2], once));
            ASSERT_TRUE(IniDocument(once).Set(w[0], w[1], w[2], twice));
            EXPECT_EQ(Printable(twice), Printable(once));
            EXPECT_EQ(once.size() % 2, f.tail.size() % 2);
            const IniDocument written(once);
            auto read = written.Read(w[0], w[1]);
            ASSERT_TRUE(read.has_value());
            EXPECT_TRUE(*read == w[2]);
            EXPECT_EQ(Printable(once.substr(once.size() - f.tail.size())), Printable(f.tail));
            bytes = once;
        }
    }
}

struct ReadCase {
    const char* name;
    std::string bytes;
    std::u16string section, key;
    std::optional<std::u16string> value;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class IniReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, FindsValue) {
    const ReadCase& c = GetParam();
    IniDocument doc(c.bytes);
    auto v = doc.Valid() ? doc.Read(c.section, c.key) : std::nullopt;
    ASSERT_EQ(v.has_value(), c.value.has_value());
    if (v) {
        EXPECT_TRUE(*v == *c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniReadTest,
    testing::Values(
        ReadCase{"BlanksKept", IniBytes(u"[A]\r\n  k= v \r\n"), u"A", u"k", u" v "},
        ReadCase{"EmptyValue", IniBytes(u"[A]\r\n  k=\r\n  j=1"), u"A", u"k", u""},
        ReadCase{"BareLf", IniBytes(u"[A]\n  k=1\n"), u"A", u"k", u"1"},
        ReadCase{"CrLf", IniBytes(u"[A]\r\n  k=1\r\n"), u"A", u"k", u"1"},
        ReadCase{"EqualsAndBracketInValue", IniBytes(u"[A]\r\n  k=a=[b]"), u"A", u"k", u"a=[b]"},
        ReadCase{"TabIndent", IniBytes(u"[A]\r\n\tk=1"), u"A", u"k", u"1"},
        ReadCase{"KeyAbsent", IniBytes(u"[A]\r\n  x=1"), u"A", u"k", std::nullopt},
        ReadCase{"SectionAbsent", IniBytes(u"[A]\r\n  k=1"), u"B", u"k", std::nullopt},
        ReadCase{"KeyOfNextSectionNotSeen", IniBytes(u"[A]\r\n  x=1\r\n[B]\r\n  k=2"), u"A", u"k",
                 std::nullopt},
        ReadCase{"AnyBracketLineEndsSection", IniBytes(u"[A]\r\n  x=1\r\n[junk\r\n  k=2"), u"A",
                 u"k", std::nullopt},
        ReadCase{"TailOfLongerKey", IniBytes(u"[S]\r\n  HighScore=1\r\n  Score=5"), u"S", u"Score",
                 u"5"},
        ReadCase{"HeaderWithBareLf", IniBytes(u"[A]\n  k=1"), u"A", u"k", u"1"},
        ReadCase{"BareCrIsNoLineBreak", IniBytes(u"[A]\r  k=1"), u"A", u"k", std::nullopt},
        ReadCase{"NameInsideOtherHeader", IniBytes(u"[AA]\r\n  k=1\r\n[A]\r\n  k=2"), u"A", u"k",
                 u"2"},
        ReadCase{"TextAfterZeroUnitIgnored",
                 IniBytes(u"[A]") + std::string("\0\0", 2) + IniDocument::Encode(u"\r\n  k=1"),
                 u"A", u"k", std::nullopt},
        ReadCase{"OddLastByteIsLowByte",
                 std::string("\xFF\xFE[\0A\0]\0\n\0k\0=\0"
                             "7",
                             15),
                 u"A", u"k", u"7"},
        ReadCase{"NoMark", IniDocument::Encode(u"[A]\r\n  k=1"), u"A", u"k", std::nullopt},
        ReadCase{"WrongMark", std::string("\xFE\xFF", 2) + IniDocument::Encode(u"[A]\n  k=1"), u"A",
                 u"k", std::nullopt},
        ReadCase{"OneByte", std::string("\xFF", 1), u"A", u"k", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniSectionQueries, CountAndNames) {
    IniDocument doc(IniBytes(SettingsText(u"x", u"1")));
    EXPECT_EQ(doc.SectionCount(), 3u);
    EXPECT_TRUE(doc.SectionName(1) == std::u16string_view(u"Zellik"));
    EXPECT_FALSE(doc.SectionName(3).has_value());
}

TEST(IniSectionQueries, HeaderLineRules) {
    struct Case {
        std::u16string text;
        size_t count;
        std::u16string first;
    } cases[] = {
        {u"[a]b]\r\n", 1, u"a]b"},   {u"[a\r\n[b]", 1, u"b"}, {u"[]", 1, u""},
        {u"[a]\r\r\n[b]", 1, u"b"},  {u" [a]\r\n", 0, u""},   {u"[a]\r", 0, u""},
        {u"[a]\n[b]\n[c]", 3, u"a"}, {u"", 0, u""},
    };
    for (const auto& c : cases) {
        IniDocument doc(IniBytes(c.text));
        EXPECT_EQ(doc.SectionCount(), c.count) << Printable(IniBytes(c.text));
        if (c.count) {
            EXPECT_TRUE(*doc.SectionName(0) == c.first) << Printable(IniBytes(c.text));
        }
    }
}

TEST(IniSectionQueries, ExistsAcceptsTheReadersHeaders) {
    struct Case {
        std::u16string text;
        bool exists;
    } cases[] = {
        {u"[S]", true},    {u"[S]\r\n", true},   {u"[S]\n  k=1", true},
        {u"[S]\rX", true}, {u"[S]\r", true},     {u"[S]\r\r\n", true},
        {u"[S] ", false},  {u"x[S]", false},     {u"[A]\r\n[S]\r\n", true},
        {u"[s]", false},   {u"[S]X\r\n", false}, {u" [S]\r", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IniDocument(IniBytes(c.text)).SectionExists(u"S"), c.exists)
            << Printable(IniBytes(c.text));
}

TEST(IniDocumentLimits, MegabyteOfSections) {
    std::u16string text;
    int sections = 0;
    for (int i = 0; text.size() < 600000; ++i, ++sections) {
        std::string digits = std::to_string(i);
        text += u"[S" + std::u16string(digits.begin(), digits.end()) + u"]\r\n  k=1\r\n";
    }
    text += u"[Last]\r\n  k=end";
    IniDocument doc(IniBytes(text));
    EXPECT_TRUE(*doc.Read(u"Last", u"k") == std::u16string_view(u"end"));
    EXPECT_EQ(doc.SectionCount(), static_cast<size_t>(sections) + 1);
    std::string out;
    ASSERT_TRUE(doc.Set(u"Last", u"k", u"new", out));
    EXPECT_EQ(out.size(), IniBytes(text).size());
}

TEST(IniDocumentLimits, HugeLine) {
    std::u16string value(1 << 20, u'v');
    IniDocument doc(IniBytes(u"[A]\r\n  k=" + value + u"\r\n  j=2"));
    EXPECT_EQ(doc.Read(u"A", u"k")->size(), value.size());
    EXPECT_TRUE(*doc.Read(u"A", u"j") == std::u16string_view(u"2"));
}

} // namespace
