// The settings file at start-up: what it holds afterwards and what GameState holds.
#include "MoleTestBase.h"

#include "ce/CePath.h"
#include "game/Settings.h"

#include <filesystem>
#include <optional>

namespace {

struct SettingsCase {
    const char* name;
    std::optional<std::string> before; // nullopt: no file
    std::optional<std::string> after;  // nullopt: same bytes as before
    bool soundOn;
    std::u16string holder;
    int highScore;
    enum { Plain, ReadOnly, NoFolder } kind = Plain;
};

const std::u16string kLongName(10000, u'鼠');
const std::u16string kAstralName = u"Mo\U0001F439le\U0001D11E";

std::vector<SettingsCase> Cases() {
    const auto file = [](auto... args) { return IniBytes(SettingsText(args...)); };
    const auto defaults = file();
    const auto same = std::nullopt;
    const std::u16string d = u"小儿子";
    return {
        {"NoFile", std::nullopt, defaults, false, d, 5},
        {"EmptyFile", "", same, false, d, 5},
        {"OnlyByteOrderMark", "\xFF\xFE", same, false, d, 5},
        {"NoByteOrderMark", "[Save]", same, false, d, 5},
        {"Garbage", std::string("\xFF\xFE\x00\xD8\x5B\x00\x0A\x00\x3D", 9), same, false, d, 5},
        {"Version1", file(u"Ann", u"40", u"1", u"1"), defaults, false, d, 5},
        {"Version0", file(u"Ann", u"40", u"1", u"0"), defaults, false, d, 5},
        {"VersionMinus5", file(u"Ann", u"40", u"1", u"-5"), defaults, false, d, 5},
        {"Version3", file(u"Ann", u"40", u"1", u"3"), same, true, u"Ann", 40},
        {"VersionMissing", file(u"Ann", u"40", u"0", std::nullopt), same, false, u"Ann", 40},
        {"SoundSeven", file(u"Ann", u"9", u"7", u"2"), same, true, u"Ann", 9},
        {"NameMissing", IniBytes(u"[Config]\r\n  isSoundOn=1\r\n[Zellik]\r\n  Version=2"), same,
         true, d, 5},
        {"LongName", file(kLongName, u"12", u"0", u"2"), same, false, kLongName, 12},
        {"AstralName", file(kAstralName, u"7", u"0", u"2"), same, false, kAstralName, 7},
        {"BadScore", file(u"", u"many", u"x", u"2"), same, false, u"", 0},
        {"ReadOnly", file(u"Bo", u"21", u"1", u"2"), same, true, u"Bo", 21, SettingsCase::ReadOnly},
        // Without the install folder the defaults hold and no file comes.
        {"NoFolder", std::nullopt, "", false, d, 5, SettingsCase::NoFolder},
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
    if (c.kind == SettingsCase::ReadOnly) {
        std::filesystem::permissions(ConfigHostPath(), std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::group_read |
                                                           std::filesystem::perms::others_read);
    } else if (c.kind == SettingsCase::NoFolder) {
        CePath::ResetForTests(); // no mount: the install folder does not exist
    }
    LoadSettings();
    EXPECT_EQ(std::filesystem::exists(ConfigHostPath()), c.kind != SettingsCase::NoFolder);
    EXPECT_EQ(ReadConfig(), c.after ? *c.after : *c.before);
    EXPECT_EQ(GameState.soundOn, c.soundOn);
    EXPECT_EQ(std::u16string(GameState.recordHolder), c.holder);
    EXPECT_EQ(GameState.highScore, c.highScore);
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

using SettingsFileTest = MoleTestBase;

TEST_F(SettingsFileTest, StartUpRebuildsAnOutdatedFile) {
    WriteConfigText(SettingsText(u"Old", u"99", u"1", u"1"));
    Run({[] {
        EXPECT_FALSE(GameState.soundOn);
        EXPECT_EQ(std::u16string(GameState.recordHolder), u"小儿子");
        EXPECT_EQ(GameState.highScore, 5);
    }});
    EXPECT_EQ(ReadConfig(), IniBytes(SettingsText()));
}

// Taps on the sound switch with a settings file that cannot be written, or that has a
// zero unit or a stray odd byte: the switch works for this run, a written setting is
// the one read at the next start, nothing after a zero unit is lost, and the file
// does not grow from tap to tap.
TEST_F(SettingsFileTest, SoundSwitchOnFilesThatAreHardToWrite) {
    // A zero unit, then a [Save] section that no reader sees.
    std::string saveTail = IniBytes(u"\r\n[Save]\r\n  Name=Cy\r\n  Score=9");
    saveTail[0] = saveTail[1] = 0;
    const struct {
        const char* name;
        std::string bytes;
        bool readOnly;
        bool tail;
    } cases[] = {
        {"readOnly", IniBytes(SettingsText(u"Bo", u"21", u"0", u"2")), true, false},
        {"zeroUnitAfterConfig", IniBytes(u"[Config]\r\n  isSoundOn=0") + saveTail, false, true},
        {"oddByte", IniBytes(SettingsText(u"Bo", u"21", u"0", u"2")) + "7", false, false},
        {"oddByteNoConfig",
         IniBytes(u"[Zellik]\r\n  Version=2\r\n[Save]\r\n  Name=Bo\r\n  Score=21") + "7", false,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteConfigBytes(c.bytes);
        if (c.readOnly) {
            std::filesystem::permissions(ConfigHostPath(), std::filesystem::perms::owner_read);
        }
        std::vector<size_t> sizes;
        std::vector<MzTest::Step> script;
        for (int tap = 0; tap < 3; ++tap) {
            script.push_back([&, tap] {
                EXPECT_EQ(GameState.soundOn, tap == 1) << "the tap counts for this run";
                if (tap > 0) {
                    sizes.push_back(ReadConfig().size());
                }
                TapCentre(Wnd().soundButton);
            });
        }
        script.push_back([&] { sizes.push_back(ReadConfig().size()); });
        Run(script);
        const std::string after = ReadConfig();
        if (c.readOnly) {
            EXPECT_EQ(after, c.bytes);
        } else {
            EXPECT_EQ(sizes[0], sizes[2]) << "the same write leaves the same file";
            if (c.tail) {
                EXPECT_TRUE(std::equal(saveTail.rbegin(), saveTail.rend(), after.rbegin()))
                    << "the bytes from the zero unit on stay";
            }
        }
        Restart();
        WriteConfigBytes(after);
        LoadSettings();
        EXPECT_EQ(GameState.soundOn, !c.readOnly) << "the next start reads what was written";
        if (!c.tail) {
            EXPECT_EQ(std::u16string(GameState.recordHolder), u"Bo");
        }
    }
}

} // namespace
