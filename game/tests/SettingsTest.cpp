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
    enum { Plain, ReadOnly, NoFolder, Folder } kind = Plain;
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
        {"Garbage", std::string("\xFF\xFE\x00\xD8\x5B\x00\x0A\x00\x3D", 9), same, false, d, 5},
        {"Version1", file(u"Ann", u"40", u"1", u"1"), defaults, false, d, 5},
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
        // A folder where the file belongs cannot be read or replaced; the defaults hold.
        {"FolderInItsPlace", std::nullopt, "", false, d, 5, SettingsCase::Folder},
    };
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
    } else if (c.kind == SettingsCase::Folder) {
        std::filesystem::create_directories(ConfigHostPath());
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

} // namespace
