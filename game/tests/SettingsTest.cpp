// The settings file at start-up: what it holds afterwards, what GameState holds and
// what was set aside; and a record save killed at any moment.
#include "MoleTestBase.h"

#include "ce/CeFaultInjector.h"
#include "ce/CePath.h"
#include "game/Settings.h"
#include "ini/IniFile.h"
#include "testing/TestPipe.h"
#include "testing/TestProcess.h"


#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <thread>

namespace fs = std::filesystem;

namespace {

struct SettingsCase {
    const char* name;
    std::optional<std::string> before; // nullopt: no file
    std::optional<std::string> after;  // nullopt: same bytes as before
    bool soundOn;
    std::u16string holder;
    int highScore;
    enum { Plain, ReadOnly, NoFolder, Folder, Link, Fifo } kind = Plain;
    // What is found at config.ini.bad afterwards: the old file set aside.
    fs::file_type aside = fs::file_type::not_found;
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
        // What the INI library cannot read is set aside and a new file made.
        {"Utf8", "[Config]\n  isSoundOn=1\n[Save]\n  Score=70", defaults, false, d, 5,
         SettingsCase::Plain, fs::file_type::regular},
        {"Empty", "", defaults, false, d, 5, SettingsCase::Plain, fs::file_type::regular},
        {"OverLimit", file(u"Ann", u"40") + std::string(kIniMaxFileBytes, ' '), defaults, false, d,
         5, SettingsCase::Plain, fs::file_type::regular},
        {"FolderInItsPlace", std::nullopt, defaults, false, d, 5, SettingsCase::Folder,
         fs::file_type::directory},
        {"Link", std::nullopt, defaults, false, d, 5, SettingsCase::Link, fs::file_type::symlink},
        {"Fifo", std::nullopt, defaults, false, d, 5, SettingsCase::Fifo, fs::file_type::fifo},
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
    if (c.kind == SettingsCase::Link || c.kind == SettingsCase::Fifo) {
        fs::create_directories(fs::path(ConfigHostPath()).parent_path());
    }
    if (c.kind == SettingsCase::Link) {
        fs::create_symlink(Root() + "/record", ConfigHostPath());
    } else if (c.kind == SettingsCase::Fifo) {
        ASSERT_TRUE(Device().MakeFifo(kConfig));
    }
    const std::string target = IniBytes(SettingsText(u"Ann", u"40"));
    std::ofstream(Root() + "/record", std::ios::binary) << target;
    LoadSettings();
    // Only a regular file is left there (reading a FIFO would wait for a writer).
    ASSERT_EQ(fs::symlink_status(ConfigHostPath()).type(),
              c.kind == SettingsCase::NoFolder ? fs::file_type::not_found : fs::file_type::regular);
    EXPECT_EQ(ReadConfig(), c.after ? *c.after : *c.before);
    EXPECT_EQ(GameState.soundOn, c.soundOn);
    EXPECT_EQ(std::u16string(GameState.recordHolder), c.holder);
    EXPECT_EQ(GameState.highScore, c.highScore);
    const std::string aside = ConfigHostPath() + ".bad";
    EXPECT_EQ(fs::symlink_status(aside).type(), c.aside);
    if (c.aside == fs::file_type::regular) {
        EXPECT_EQ(ReadFile(std::string(kConfig) + ".bad"), *c.before);
    }
    EXPECT_EQ(ReadFile("record"), target);     // a link's target is never touched
    if (c.aside != fs::file_type::not_found) { // and saves work again
        SaveSoundOn(true);
        EXPECT_EQ(ReadConfig(), IniBytes(SettingsText(u"小儿子", u"5", u"1")));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// A record save killed at random moments, on a disk whose every flush takes a while:
// the file then holds the old record or the new one, never a new holder with the old
// score, and Name still comes before Score.
class RecordSaveTest : public MoleTestBase {};

TEST_F(RecordSaveTest, KilledAtAnyMomentLeavesOldOrNewRecord) {
    constexpr int kFlushMs = 15;
    const std::string before = IniBytes(SettingsText(u"Old", u"5"));
    const std::string after = IniBytes(SettingsText(u"NEW", u"99"));
    std::mt19937 random(20261207);
    int torn = 0, newOnes = 0;
    for (int round = 0; round < 16; ++round) {
        WriteConfigBytes(before);
        TestPipe started;
        ASSERT_TRUE(started.Open());
        TestProcess saver;
        ASSERT_TRUE(saver.Fork([&] {
            CeFaultInjector::SetSyncDelayMs(kFlushMs);
            started.Write('s');
            SaveRecord(u"NEW", 99);
            return 0;
        }));
        started.CloseWriteEnd();
        char ch;
        ASSERT_TRUE(started.Read(ch));
        // Two flushes per replace: the old two replaces took four.
        std::this_thread::sleep_for(std::chrono::microseconds(random() % (4 * kFlushMs * 1000)));
        saver.Kill();
        saver.Wait();
        const std::string bytes = ReadConfig();
        torn += bytes != before && bytes != after;
        newOnes += bytes == after;
    }
    EXPECT_EQ(torn, 0);
    EXPECT_GT(newOnes, 0); // some saves were complete before the kill
}

} // namespace
