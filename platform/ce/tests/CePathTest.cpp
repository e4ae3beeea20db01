// CE paths to host paths: normalisation, case, refusals, read-only mounts seen under a
// CE folder with writes going to the device root, and where the executable's own files
// are looked for.
#include "CeFileCalls.h"

#include "ce/CeInstallFiles.h"
#include "ce/CePath.h"
#include "ce/ce.h"
#include "files/CeMountTable.h"
#include "testing/TestDeviceRoot.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Kind = CeLocation::Kind;

TEST(CePathLocate, Cases) {
    TestDeviceRoot root;
    root.Put("Disk/Programs/Games/burrowbop/config.ini", "x");
    root.Put("Disk/file.txt", "x");
    fs::create_symlink("/etc", root.Host("Disk/link"));
    const std::u16string longName = u"Disk\\" + std::u16string(254, u'n'); // 259 characters
    const char16_t lone[] = {u'D', 0xD800, 0};
    struct Found {
        const char* name;
        std::u16string path;
        Kind kind;
        const char* upper; // relative to the root
        bool parentExists;
    } found[] = {
        {"slashes", u"Disk/Programs//Games\\.\\", Kind::Upper, "Disk/Programs/Games", true},
        {"file", u"DISK\\programs\\GAMES\\Burrowbop\\CONFIG.INI", Kind::Upper,
         "Disk/Programs/Games/burrowbop/config.ini", true},
        {"newFile", u"Disk\\New.ini", Kind::Missing, "Disk/New.ini", true},
        {"missingFolder", u"Disk\\nope\\a.ini", Kind::Missing, "Disk/nope/a.ini", false},
        {"fileAsFolder", u"Disk\\file.txt\\a", Kind::Missing, "Disk/file.txt/a", false},
        {"root", u"\\", Kind::Root, "", true},
        {"longest", longName, Kind::Missing, nullptr, true},
    };
    CeLocation loc;
    DWORD error = 0;
    for (const auto& c : found) {
        ASSERT_TRUE(CePath::Locate(c.path.c_str(), loc, error)) << c.name;
        EXPECT_EQ(loc.kind, c.kind) << c.name;
        EXPECT_EQ(loc.parentExists, c.parentExists) << c.name;
        if (c.upper) {
            EXPECT_EQ(loc.upperPath, *c.upper ? root.Host(c.upper) : root.Path()) << c.name;
        }
    }
    struct Refused {
        const char* name;
        std::u16string path;
        DWORD error;
    } refused[] = {
        {"tooLong", longName + u"n", ERROR_FILENAME_EXCED_RANGE},
        {"leadingDotDot", u"..\\etc\\passwd", ERROR_INVALID_NAME},
        {"link", u"Disk\\link", ERROR_ACCESS_DENIED},
        {"throughLink", u"Disk\\LINK\\passwd", ERROR_ACCESS_DENIED},
        {"wildcard", u"Disk\\*.ini", ERROR_INVALID_NAME},
        {"colon", u"Disk\\a:b", ERROR_INVALID_NAME},
        {"control", u"Disk\\a\x01", ERROR_INVALID_NAME},
        {"surrogate", lone, ERROR_INVALID_NAME},
        {"empty", u"", ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : refused) {
        error = 0;
        EXPECT_FALSE(CePath::Locate(c.path.c_str(), loc, error)) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
    }
    EXPECT_FALSE(CePath::Locate(nullptr, loc, error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    // Mapping for a write makes upper folders only under existing folders.
    std::string host;
    ASSERT_TRUE(CePath::Map(u"disk\\a.ini", CePath::Use::Write, host, error));
    EXPECT_EQ(host, root.Host("Disk/a.ini"));
    EXPECT_FALSE(CePath::Map(u"Disk\\x\\a.ini", CePath::Use::Write, host, error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(root.Exists("Disk/x"));
}

// A mounts file beside the executable takes relative folders from its own folder.
TEST(CeMountTable, Parsing) {
    auto mounts = CeMountTable::Parse(
        "# assets\n Disk\\Programs\\Games\\burrowbop = /usr/share/burrowbop \r\n"
        "A=rel/dir;B\\C=/abs/\n=nohost\nnoequals\nX=\n..\\up=/x",
        "/base");
    ASSERT_EQ(mounts.size(), 3u);
    EXPECT_EQ(mounts[0].host, "/usr/share/burrowbop");
    EXPECT_EQ(mounts[0].upperNames,
              (std::vector<std::u16string>{u"DISK", u"PROGRAMS", u"GAMES", u"BURROWBOP"}));
    EXPECT_EQ(mounts[1].host, "/base/rel/dir");
    EXPECT_EQ(mounts[2].host, "/abs");

    TestDeviceRoot root;
    root.Put("bin/game.mounts", "# beside the executable\nDisk\\Game=../share/game\n");
    mounts = CeMountTable::ReadFile(root.Host("bin/game.mounts"));
    ASSERT_EQ(mounts.size(), 1u);
    EXPECT_EQ(mounts[0].host, root.Host("bin/../share/game"));
}

class CeMountTest : public testing::Test {
protected:
    void SetUp() override {
        assets.Put("images/bg1.png", "png");
        assets.Put("readme.txt", "lower");
        CePath::AddMount(u"Disk\\Programs\\Games\\burrowbop", assets.Path());
    }
    TestDeviceRoot assets; // only for its folder: the device root is the next one
    TestDeviceRoot root;
};

const char16_t* const kGame = u"Disk\\Programs\\Games\\burrowbop";

TEST_F(CeMountTest, ReadsSeeTheMountReadOnly) {
    EXPECT_EQ(GetFileAttributesW(u"Disk"), FILE_ATTRIBUTE_DIRECTORY); // parent of a mount
    EXPECT_EQ(GetFileAttributesW(kGame), FILE_ATTRIBUTE_DIRECTORY);
    const char16_t* png = u"\\disk\\programs\\games\\BURROWBOP\\Images\\BG1.PNG";
    EXPECT_EQ(GetFileAttributesW(png), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(Opens(png, R)); // the file that Map below finds
    EXPECT_TRUE(Fails(Open(png, W, 0, OPEN_EXISTING), ERROR_ACCESS_DENIED));
    EXPECT_TRUE(Fails(DeleteFileW(png), ERROR_ACCESS_DENIED));
    EXPECT_TRUE(Fails(MoveFileExW(png, u"Disk\\x.png", 0), ERROR_ACCESS_DENIED));
    EXPECT_TRUE(Fails(SetFileAttributesW(png, FILE_ATTRIBUTE_NORMAL), ERROR_ACCESS_DENIED));
    EXPECT_TRUE(
        Fails(RemoveDirectoryW(u"Disk\\Programs\\Games\\burrowbop\\images"), ERROR_ACCESS_DENIED));
    std::string host;
    DWORD error = 0;
    ASSERT_TRUE(CePath::Map(png, CePath::Use::Read, host, error));
    EXPECT_EQ(host, assets.Host("images/bg1.png"));
    EXPECT_FALSE(CePath::Map(png, CePath::Use::Write, host, error));
}

TEST_F(CeMountTest, NewFilesGoToTheDeviceRootBesideTheMount) {
    const char16_t* ini = u"Disk\\Programs\\Games\\burrowbop\\config.ini";
    ASSERT_TRUE(CloseHandle(Open(ini, RW, SR, CREATE_NEW)));
    EXPECT_FALSE(assets.Exists("config.ini"));

    // The folder now lists both layers, the device root first, each name once.
    root.Put("Disk/Programs/Games/burrowbop/README.TXT", "upper");
    std::vector<std::string> names;
    WIN32_FIND_DATAW d;
    HANDLE f = FindFirstFileW(u"Disk\\Programs\\Games\\burrowbop\\*", &d);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    do {
        names.emplace_back(d.cFileName,
                           d.cFileName + std::char_traits<char16_t>::length(d.cFileName));
    } while (FindNextFileW(f, &d));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(f));
    EXPECT_EQ(names, (std::vector<std::string>{"README.TXT", "config.ini", "images"}));
    // The upper file shadows the mount's.
    std::string host;
    DWORD error = 0;
    ASSERT_TRUE(CePath::Map(u"Disk\\Programs\\Games\\burrowbop\\readme.txt", CePath::Use::Read,
                            host, error));
    EXPECT_EQ(host, root.Host("Disk/Programs/Games/burrowbop/README.TXT"));
}

TEST(CeMountConfig, FromEnvironment) {
    TestDeviceRoot assets;
    TestDeviceRoot root;
    assets.Put("a.wav", "w");
    setenv("CE_MOUNTS", ("# comment\nSounds=" + assets.Path() + "; Other=/nonexistent").c_str(), 1);
    CePath::ResetForTests();
    EXPECT_EQ(GetFileAttributesW(u"sounds\\A.WAV"),
              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(GetFileAttributesW(u"Other"), INVALID_FILE_ATTRIBUTES); // host folder missing
    unsetenv("CE_MOUNTS");
    CePath::ResetForTests();
    EXPECT_EQ(GetFileAttributesW(u"sounds\\A.WAV"), INVALID_FILE_ATTRIBUTES);
}

// Beside the executable (build tree), then in its data folder (installed tree).
TEST(CeInstallFilesTest, BesideTheExecutableThenInItsDataFolder) {
    struct Case {
        std::string exe;
        std::vector<std::string> expected;
    } cases[] = {
        {"/tmp/x/usr/games/bb",
         {"/tmp/x/usr/games/bb.mounts", "/tmp/x/usr/games/../share/bb/bb.mounts"}},
        {"/burrowbop", {"/burrowbop.mounts", "/../share/burrowbop/burrowbop.mounts"}},
        {"burrowbop", {"burrowbop.mounts", "./../share/burrowbop/burrowbop.mounts"}},
        {"/usr/bin/", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CeInstallFiles::Candidates(c.exe, ".mounts"), c.expected) << c.exe;
}

} // namespace
