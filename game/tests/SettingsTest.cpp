// The settings file at start-up: what it holds afterwards and what GameState holds.
#include "MoleTestBase.h"

#include "ce/CePath.h"
#include "game/Settings.h"

#include <filesystem>
#include <optional>

namespace {

struct SettingsCase {
    const char* name;
    std::optional<std::vector<uint8_t>> before; // nullopt: no file
    std::optional<std::vector<uint8_t>> after;  // nullopt: same bytes as before
    bool soundOn;
    std::u16string holder;
    int highScore;
};

std::u16string Config(const std::u16string& sound, const std::u16string& versionLine,
                      const std::u16string& name, const std::u16string& score) {
    return u"[Config]\r\n  isSoundOn=" + sound + u"\r\n[Zellik]\r\n" + versionLine +
           u"[Save]\r\n  Name=" + name + u"\r\n  Score=" + score;
}

std::u16string Version(const std::u16string& v) {
    return u"  Version=" + v + u"\r\n";
}

const std::u16string kLongName(10000, u'鼠');
const std::u16string kAstralName = u"Mo\U0001F439le\U0001D11E";

std::vector<SettingsCase> Cases() {
    const auto defaults = IniBytes(DefaultSettingsText());
    return {
        {"NoFile", std::nullopt, defaults, false, u"小儿子", 5},
        {"EmptyFile", std::vector<uint8_t>{}, std::nullopt, false, u"小儿子", 5},
        {"OnlyByteOrderMark", std::vector<uint8_t>{0xFF, 0xFE}, std::nullopt, false, u"小儿子", 5},
        {"NoByteOrderMark", std::vector<uint8_t>{'[', 'S', 'a', 'v', 'e', ']'}, std::nullopt, false,
         u"小儿子", 5},
        {"Garbage", std::vector<uint8_t>{0xFF, 0xFE, 0x00, 0xD8, 0x5B, 0x00, 0x0A, 0x00, 0x3D},
         std::nullopt, false, u"小儿子", 5},
        {"Version1", IniBytes(Config(u"1", Version(u"1"), u"Ann", u"40")), defaults, false,
         u"小儿子", 5},
        {"Version0", IniBytes(Config(u"1", Version(u"0"), u"Ann", u"40")), defaults, false,
         u"小儿子", 5},
        {"VersionMinus5", IniBytes(Config(u"1", Version(u"-5"), u"Ann", u"40")), defaults, false,
         u"小儿子", 5},
        {"Version3", IniBytes(Config(u"1", Version(u"3"), u"Ann", u"40")), std::nullopt, true,
         u"Ann", 40},
        {"VersionMissing", IniBytes(Config(u"0", u"", u"Ann", u"40")), std::nullopt, false, u"Ann",
         40},
        {"SoundSeven", IniBytes(Config(u"7", Version(u"2"), u"Ann", u"9")), std::nullopt, true,
         u"Ann", 9},
        {"NameMissing", IniBytes(u"[Config]\r\n  isSoundOn=1\r\n[Zellik]\r\n  Version=2"),
         std::nullopt, true, u"小儿子", 5},
        {"LongName", IniBytes(Config(u"0", Version(u"2"), kLongName, u"12")), std::nullopt, false,
         kLongName, 12},
        {"AstralName", IniBytes(Config(u"0", Version(u"2"), kAstralName, u"7")), std::nullopt,
         false, kAstralName, 7},
        {"BadScore", IniBytes(Config(u"x", Version(u"2"), u"", u"many")), std::nullopt, false, u"",
         0},
    };
}

void PrintTo(const SettingsCase& c, std::ostream* os) {
    *os << c.name;
}

class SettingsTest : public MoleTestBase, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(SettingsTest, StartUpLeavesFileAndState) {
    const SettingsCase& c = GetParam();
    if (c.before) {
        WriteConfigBytes(*c.before);
    }
    LoadSettings();
    EXPECT_EQ(ReadConfig(), c.after ? *c.after : *c.before);
    EXPECT_EQ(GameState.soundOn, c.soundOn);
    EXPECT_EQ(std::u16string(GameState.recordHolder), c.holder);
    EXPECT_EQ(GameState.highScore, c.highScore);
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

using SettingsFileTest = MoleTestBase;

TEST_F(SettingsFileTest, ReadOnlyFileIsReadAndKept) {
    const auto bytes = IniBytes(Config(u"1", Version(u"2"), u"Bo", u"21"));
    WriteConfigBytes(bytes);
    std::filesystem::permissions(ConfigHostPath(), std::filesystem::perms::owner_read |
                                                       std::filesystem::perms::group_read |
                                                       std::filesystem::perms::others_read);
    LoadSettings();
    EXPECT_EQ(ReadConfig(), bytes);
    EXPECT_TRUE(GameState.soundOn);
    EXPECT_EQ(std::u16string(GameState.recordHolder), u"Bo");
    EXPECT_EQ(GameState.highScore, 21);
}

TEST_F(SettingsFileTest, MissingInstallFolderStillGivesDefaults) {
    CePath::ResetForTests(); // no mount: the install folder does not exist
    LoadSettings();
    EXPECT_FALSE(ConfigExists());
    EXPECT_FALSE(GameState.soundOn);
    EXPECT_EQ(std::u16string(GameState.recordHolder), u"小儿子");
    EXPECT_EQ(GameState.highScore, 5);
}

TEST_F(SettingsFileTest, StartUpRebuildsAnOutdatedFile) {
    WriteConfigText(Config(u"1", Version(u"1"), u"Old", u"99"));
    Run({[] {
        EXPECT_FALSE(GameState.soundOn);
        EXPECT_EQ(std::u16string(GameState.recordHolder), u"小儿子");
        EXPECT_EQ(GameState.highScore, 5);
    }});
    EXPECT_EQ(ReadConfig(), IniBytes(DefaultSettingsText()));
}

std::vector<uint8_t> Joined(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Taps on the sound switch with a settings file that cannot be written, or that has a
// zero unit or a stray odd byte: the switch works for this run, a written setting is
// the one read at the next start, nothing after a zero unit is lost, and the file
// does not grow from tap to tap.
TEST_F(SettingsFileTest, SoundSwitchOnFilesThatAreHardToWrite) {
    // A zero unit, then a [Save] section that no reader sees.
    std::vector<uint8_t> saveTail = IniBytes(u"\r\n[Save]\r\n  Name=Cy\r\n  Score=9");
    saveTail[0] = saveTail[1] = 0;
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        bool readOnly;
        bool tail;
    } cases[] = {
        {"readOnly", IniBytes(Config(u"0", Version(u"2"), u"Bo", u"21")), true, false},
        {"zeroUnitAfterConfig", Joined(IniBytes(u"[Config]\r\n  isSoundOn=0"), saveTail), false,
         true},
        {"oddByte", Joined(IniBytes(Config(u"0", Version(u"2"), u"Bo", u"21")), {'7'}), false,
         false},
        {"oddByteNoConfig",
         Joined(IniBytes(u"[Zellik]\r\n  Version=2\r\n[Save]\r\n  Name=Bo\r\n  Score=21"), {'7'}),
         false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteConfigBytes(c.bytes);
        if (c.readOnly) {
            std::filesystem::permissions(ConfigHostPath(), std::filesystem::perms::owner_read);
        }
        std::vector<size_t> sizes;
        Run({[] {
                 EXPECT_FALSE(GameState.soundOn);
                 TapCentre(Wnd().soundButton);
             },
             [&] {
                 EXPECT_TRUE(GameState.soundOn) << "the tap counts for this run";
                 sizes.push_back(ReadConfig().size());
                 TapCentre(Wnd().soundButton);
             },
             [&] {
                 EXPECT_FALSE(GameState.soundOn);
                 sizes.push_back(ReadConfig().size());
                 TapCentre(Wnd().soundButton);
             },
             [&] { sizes.push_back(ReadConfig().size()); }});
        const std::vector<uint8_t> after = ReadConfig();
        if (c.readOnly) {
            EXPECT_EQ(after, c.bytes);
        } else {
            EXPECT_EQ(sizes[0], sizes[2]) << "the same write leaves the same file";
            if (c.tail) {
                EXPECT_TRUE(std::equal(saveTail.rbegin(), saveTail.rend(), after.rbegin()))
                    << "the bytes from the zero unit on stay";
            }
        }
        TearDown();
        SetUp();
        WriteConfigBytes(after);
        LoadSettings();
        EXPECT_EQ(GameState.soundOn, !c.readOnly) << "the next start reads what was written";
        if (!c.tail) {
            EXPECT_EQ(std::u16string(GameState.recordHolder), u"Bo");
        }
    }
}

} // namespace
