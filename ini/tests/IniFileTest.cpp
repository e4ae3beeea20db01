// The INI operations on files in a temporary device root: creation, the file-level
// failures (missing, no mark, read-only, bad paths), sharing with another process, a
// failure injected at every file call of a change, and a writer killed at any moment.
#include "ini/IniFile.h"
#include "IniTestBytes.h"
#include "ce/CeFaultInjector.h"
#include "ce/ce.h"
#include "testing/TestDeviceRoot.h"
#include "testing/TestPipe.h"
#include "testing/TestProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <filesystem>
#include <optional>
#include <random>
#include <thread>

namespace fs = std::filesystem;

namespace {

const char16_t* const kPath = u"Disk\\Programs\\Games\\burrowbop\\config.ini";
const char* const kDir = "Disk/Programs/Games/burrowbop";
const std::string kHost = std::string(kDir) + "/config.ini";
const std::string kTemp = kHost + "~";

class IniFileTest : public testing::Test {
protected:
    void SetUp() override { root.MakeDir(kDir); }
    void Put(const std::string& bytes) { root.Put(kHost, bytes); }
    std::string Get() { return root.Get(kHost); }
    TestDeviceRoot root;
};

std::optional<std::u16string> ReadString(const char16_t* section, const char16_t* key) {
    LPWSTR out = nullptr;
    const int r = IniReadString(section, key, &out, kPath);
    std::optional<std::u16string> s;
    if (r)
        s = out ? out : u"";
    delete[] out;
    return s;
}

std::u16string U16(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

TEST_F(IniFileTest, CreateFileCases) {
    const std::string x(251, 'x'), longHost = "Disk/" + x + ".ini";
    const std::u16string longPath = u"Disk\\" + U16(x) + u".ini"; // 260 characters
    const struct {
        const char* name;
        std::u16string path;
        std::optional<std::string> before; // at Disk/a.ini; nullopt: no file
        int result;
        std::string host, after;
    } cases[] = {
        {"new", u"Disk\\a.ini", {}, 1, "Disk/a.ini", "\xFF\xFE"},
        {"keepsMarked", u"Disk\\a.ini", IniBytes(u"[A]\r\n  k=1"), 1, "Disk/a.ini",
         IniBytes(u"[A]\r\n  k=1")},
        {"replacesOneByte", u"Disk\\a.ini", "\xFF", 1, "Disk/a.ini", "\xFF\xFE"},
        {"replacesOtherBytes", u"Disk\\a.ini", "hello", 1, "Disk/a.ini", "\xFF\xFE"},
        {"replacesEmpty", u"Disk\\a.ini", "", 1, "Disk/a.ini", "\xFF\xFE"},
        {"upperExtension", u"\\Disk\\B.INI", {}, 1, "Disk/B.INI", "\xFF\xFE"},
        {"mixedExtension", u"Disk\\c.Ini", {}, 1, "Disk/c.Ini", "\xFF\xFE"},
        {"rootFolder", u"\\r.ini", {}, 1, "r.ini", "\xFF\xFE"},
        {"fourChars", u".ini", {}, 0, ".ini", ""},
        {"noDot", u"Disk\\abcini", {}, 0, "Disk/abcini", ""},
        {"bakExtension", u"Disk\\a.ini.bak", {}, 0, "Disk/a.ini.bak", ""},
        {"noBackslash", u"a.ini", {}, 0, "a.ini", ""},
        {"missingFolder", u"Disk\\nope\\a.ini", {}, 0, "Disk/nope", ""},
        {"dotDot", u"Disk\\..\\a.ini", {}, 0, "a.ini", ""},
        {"PathTooLongFailsEverywhere", longPath, {}, 0, longHost, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestDeviceRoot fresh;
        fresh.MakeDir("Disk");
        if (c.before)
            fresh.Put("Disk/a.ini", *c.before);
        EXPECT_EQ(IniCreateFile(c.path.c_str()), c.result);
        EXPECT_EQ(fresh.Exists(c.host), c.result == 1);
        EXPECT_EQ(fresh.Get(c.host), c.after);
    }
    EXPECT_EQ(IniCreateFile(nullptr), 0);
}

// The settings file as the game first writes it, and the queries on it.
TEST_F(IniFileTest, GameSettingsRoundTrip) {
    ASSERT_EQ(IniCreateFile(kPath), 1);
    EXPECT_EQ(IniWriteString(u"Config", u"isSoundOn", u"0", kPath), 1);
    EXPECT_EQ(IniWriteString(u"Zellik", u"Version", u"2", kPath), 1);
    // Two keys at once, in order, as two writes would put them.
    const LPCWSTR keys[] = {u"Name", u"Score"}, values[] = {u"小儿子", u"7"};
    EXPECT_EQ(IniWriteStrings(u"Save", keys, values, 2, kPath), 1);
    EXPECT_EQ(IniWriteInt(u"Save", u"Score", 5, kPath), 1);
    EXPECT_EQ(Get(), IniBytes(SettingsText(u"小儿子", u"5")));
    EXPECT_EQ(IniSectionExists(u"Zellik", kPath), 1);
    // FileExists is true for files and folders alike.
    EXPECT_TRUE(FileExists(u"\\disk\\programs"));
    EXPECT_FALSE(FileExists(u"Disk\\none.ini"));
    EXPECT_FALSE(FileExists(nullptr));
    EXPECT_FALSE(FileExists(u"Disk\\..\\..\\etc"));
    // Section names are cut to the caller's buffer.
    WCHAR buf[8];
    std::fill(std::begin(buf), std::end(buf), u'#');
    IniGetSectionName(buf, 4, 1, kPath);
    EXPECT_TRUE(std::u16string(buf, 5) == std::u16string(u"Zel\0#", 5));
    IniGetSectionName(buf, 8, 3, kPath); // no such header: untouched
    EXPECT_TRUE(std::u16string(buf, 5) == std::u16string(u"Zel\0#", 5));
    IniGetSectionName(buf, 8, 2, kPath);
    EXPECT_TRUE(std::u16string(buf) == u"Save");
    IniGetSectionName(buf, 0, 0, kPath);
    EXPECT_TRUE(std::u16string(buf) == u"Save");
}

// Several keys in one replace give the bytes that as many writes in turn would give.
TEST_F(IniFileTest, WriteStringsGivesTheBytesOfWritesInTurn) {
    const LPCWSTR keys[] = {u"Name", u"Score"}, values[] = {u"Bo", u"12"};
    for (const std::u16string& before :
         {std::u16string(), SettingsText(u"Ann", u"3"), std::u16string(u"[Save]\r\n  x=1"),
          std::u16string(u"[Save]\n  Score=1\n[Next]\n  Name=2"),
          std::u16string(u"[Save]\r\n  Name=Bo\r\n  Score=12")}) {
        Put(IniBytes(before));
        for (int i = 0; i < 2; ++i)
            ASSERT_EQ(IniWriteString(u"Save", keys[i], values[i], kPath), 1);
        const std::string inTurn = Get();
        Put(IniBytes(before));
        EXPECT_EQ(IniWriteStrings(u"Save", keys, values, 2, kPath), 1);
        EXPECT_EQ(Printable(Get()), Printable(inTurn));
    }
    const std::string before = Get();
    const LPCWSTR emptyKey[] = {u"Name", u""}, nullValue[] = {u"Bo", nullptr};
    EXPECT_EQ(IniWriteStrings(u"Save", emptyKey, values, 2, kPath), 0);
    EXPECT_EQ(IniWriteStrings(u"Save", keys, nullValue, 2, kPath), 0);
    EXPECT_EQ(IniWriteStrings(u"", keys, values, 2, kPath), 0);
    EXPECT_EQ(IniWriteStrings(u"Save", nullptr, nullptr, 2, kPath), 0);
    EXPECT_EQ(IniWriteStrings(u"Save", keys, values, 2, u"Disk\\missing.ini"), 0);
    EXPECT_EQ(IniWriteStrings(u"Other", keys, values, 0, kPath), 1);
    EXPECT_EQ(Get(), before);
}

TEST_F(IniFileTest, IntegerCases) {
    Put(IniBytes(u"[A]\r\n  a=12abc\r\n  b=abc\r\n  c=-2147483648\r\n  d=99999999999\r\n  e= +7"));
    const struct {
        const char16_t* key;
        int result;
        int value;
    } cases[] = {{u"a", 1, 12},      {u"b", 1, 0}, {u"c", 1, INT_MIN},
                 {u"d", 1, INT_MAX}, {u"e", 1, 7}, {u"z", 0, -1}};
    for (const auto& c : cases) {
        int v = -1;
        EXPECT_EQ(IniReadInt(u"A", c.key, &v, kPath), c.result);
        EXPECT_EQ(v, c.value);
    }
    EXPECT_EQ(IniReadInt(u"A", u"a", nullptr, kPath), 0);
    EXPECT_EQ(IniWriteInt(u"A", u"f", INT_MIN, kPath), 1);
    EXPECT_TRUE(ReadString(u"A", u"f") == u"-2147483648");
}

TEST_F(IniFileTest, BadArgumentsAreRefusedAndChangeNothing) {
    const std::string before = IniBytes(u"[A]\r\n  k=1");
    Put(before);
    LPWSTR out = reinterpret_cast<LPWSTR>(0x1);
    EXPECT_EQ(IniReadString(nullptr, u"k", &out, kPath), 0);
    EXPECT_EQ(IniReadString(u"", u"k", &out, kPath), 0);
    EXPECT_EQ(IniReadString(u"A", u"", &out, kPath), 0);
    EXPECT_EQ(IniReadString(u"A", nullptr, &out, kPath), 0);
    EXPECT_EQ(IniReadString(u"A", u"k", nullptr, kPath), 0);
    EXPECT_EQ(IniReadString(u"A", u"k", &out, nullptr), 0);
    EXPECT_EQ(IniReadString(u"A", u"absent", &out, kPath), 0);
    EXPECT_EQ(out, reinterpret_cast<LPWSTR>(0x1)); // untouched on failure
    EXPECT_EQ(IniWriteString(u"", u"k", u"v", kPath), 0);
    EXPECT_EQ(IniWriteString(u"A", u"", u"v", kPath), 0);
    EXPECT_EQ(IniWriteString(nullptr, nullptr, nullptr, kPath), 0);
    EXPECT_EQ(IniWriteString(u"A", u"k", u"v", nullptr), 0);
    EXPECT_EQ(IniSectionExists(u"", kPath), 0);
    EXPECT_EQ(IniSectionExists(u"A", nullptr), 0);
    EXPECT_EQ(IniGetSectionCount(nullptr), 0u);
    IniGetSectionName(nullptr, 10, 0, kPath);
    EXPECT_EQ(Get(), before);
}

// Files that stay as they are: no INI file, or a read-only one (which can still be read,
// until IniCreateFile clears the bit).
TEST_F(IniFileTest, FilesThatAreNoIniFilesStayAsTheyAre) {
    const struct {
        const char* name;
        std::string bytes;
        bool readOnly;
    } cases[] = {
        {"empty", "", false},
        {"oneByte", "\xFF", false},
        {"bigEndianMark", std::string("\xFE\xFF[\0A\0]\0", 8), false},
        {"noMark", "plain [A]\n k=1", false},
        {"ReadOnlyFileCanOnlyBeRead", IniBytes(u"[A]\r\n  k=1"), true}, // last: see below
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Put(c.bytes);
        ASSERT_TRUE(!c.readOnly || SetFileAttributesW(kPath, FILE_ATTRIBUTE_READONLY));
        const auto read = ReadString(u"A", u"k");
        EXPECT_TRUE(c.readOnly ? read == u"1" : !read);
        EXPECT_EQ(IniWriteString(u"A", u"k", u"v", kPath), 0);
        EXPECT_EQ(IniWriteString(u"A", u"absent", nullptr, kPath), 0);
        EXPECT_EQ(IniWriteString(u"B", nullptr, nullptr, kPath), 0);
        EXPECT_EQ(IniSectionExists(u"A", kPath), 0);
        EXPECT_EQ(IniGetSectionCount(kPath), 0u);
        EXPECT_EQ(Get(), c.bytes);
    }
    EXPECT_EQ(IniCreateFile(kPath), 1);
    EXPECT_EQ(GetFileAttributesW(kPath) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(Get(), IniBytes(u"[A]\r\n  k=1"));
    EXPECT_EQ(IniWriteString(u"A", u"k", u"v", u"Disk\\missing.ini"), 0);
    EXPECT_FALSE(root.Exists("Disk/missing.ini"));
}

TEST_F(IniFileTest, ReadOnlyFolderRefusesChanges) {
    const std::string before = IniBytes(u"[A]\r\n  k=1");
    Put(before);
    ASSERT_TRUE(SetFileAttributesW(u"Disk\\Programs\\Games\\burrowbop", FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(ReadString(u"A", u"k") == u"1");
    EXPECT_EQ(IniWriteString(u"A", u"k", u"2", kPath), 0);
    EXPECT_EQ(IniWriteString(u"A", u"absent", nullptr, kPath), 1); // nothing to change
    EXPECT_EQ(IniCreateFile(u"Disk\\Programs\\Games\\burrowbop\\new.ini"), 0);
    EXPECT_EQ(Get(), before);
}

// Each file call of a change fails once in turn: the result is 0 (or the change is made
// all the same), the file is as it was, and no temporary file is left.
TEST_F(IniFileTest, FailureAtEveryFileCallLeavesFileIntact) {
    const std::string settings = IniBytes(SettingsText(u"n", u"5"));
    const struct {
        const char* name;
        const char16_t *section, *key, *value; // section null: IniCreateFile on other bytes
    } cases[] = {
        {"appendSection", u"New", u"k", u"v"},
        // The read of the old mark may be the call that fails; then it is replaced.
        {"CreateFileFailureKeepsOldFile", nullptr, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = c.section ? settings : "junk";
        const auto op = [&] {
            return c.section ? IniWriteString(c.section, c.key, c.value, kPath)
                             : IniCreateFile(kPath);
        };
        Put(before);
        CeFaultInjector::Arm(CeFaultInjector::kAll, 0);
        ASSERT_EQ(op(), 1);
        const int calls = CeFaultInjector::Calls();
        EXPECT_GE(calls, 4);
        for (int n = 1; n <= calls; ++n) {
            Put(before);
            CeFaultInjector::Arm(CeFaultInjector::kAll, n);
            const int r = op();
            CeFaultInjector::Disarm();
            if (c.section) {
                EXPECT_EQ(r, 0) << "failing call " << n;
            }
            EXPECT_EQ(Get(), r ? std::string("\xFF\xFE") : before) << "failing call " << n;
            EXPECT_FALSE(root.Exists(kTemp)) << "failing call " << n;
        }
    }
    CeFaultInjector::Disarm();
}

// Another process holds the file open, sharing reads only. A reader (as IniReadString)
// shuts out writers but not readers; a writer keeps IniCreateFile from looking at the
// file. Once it is gone the change is made.
TEST_F(IniFileTest, OtherProcessHoldingTheFileShutsOutChanges) {
    const struct {
        const char* name;
        DWORD access;
        std::string bytes, after;
    } cases[] = {
        {"OtherProcessReaderShutsOutWriters", GENERIC_READ, IniBytes(u"[A]\r\n  k=1"),
         IniBytes(u"[A]\r\n  k=2")},
        {"OtherProcessWriterKeepsFileFromCreate", GENERIC_READ | GENERIC_WRITE,
         IniBytes(SettingsText(u"x", u"9")), IniBytes(SettingsText(u"x", u"9"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Put(c.bytes);
        const bool reader = c.access == GENERIC_READ;
        const auto change = [&] {
            return reader ? IniWriteString(u"A", u"k", u"2", kPath) : IniCreateFile(kPath);
        };
        TestPipe toChild, toParent;
        ASSERT_TRUE(toChild.Open() && toParent.Open());
        TestProcess other;
        ASSERT_TRUE(other.Fork([&] {
            HANDLE h = CreateFileW(kPath, c.access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
            char ch = h == INVALID_HANDLE_VALUE ? 'n' : 'y';
            toParent.Write(ch);
            toChild.Read(ch); // holds the file until told
            return 0;
        }));
        char opened = 0;
        ASSERT_TRUE(toParent.Read(opened) && opened == 'y');
        if (reader) {
            EXPECT_TRUE(ReadString(u"A", u"k") == u"1");
        }
        EXPECT_EQ(change(), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        EXPECT_EQ(Printable(Get()), Printable(c.bytes));
        toChild.Write('x');
        other.Wait();
        EXPECT_EQ(change(), 1);
        EXPECT_EQ(Printable(Get()), Printable(c.after));
    }
}

// A process writing the settings keys in a loop is killed at random moments; after
// every kill the file is exactly one of the states the writer passes through.
TEST(IniDurability, KilledWriterLeavesOldOrNewFile) {
    TestDeviceRoot root;
    // A killed process, unlike a power cut, loses nothing the kernel already has: the
    // flushes only slow the writer down here.
    CeFaultInjector::SetSyncEnabled(false);
    root.MakeDir(kDir);
    const auto name = [](int i) { return U16("player" + std::to_string(i)); };
    std::mt19937 random(12345);
    for (int k = 0; k < 40; ++k) {
        // Every round starts from the same file so that kills hit all steps of a write.
        root.Put(kHost, IniBytes(SettingsText(name(0), u"0")));
        TestPipe started;
        ASSERT_TRUE(started.Open());
        TestProcess writer;
        ASSERT_TRUE(writer.Fork([&]() -> int {
            for (int i = 1;; ++i) {
                IniWriteString(u"Save", u"Name", name(i).c_str(), kPath);
                if (i == 1) // the parent waits for one completed write
                    started.Write('s');
                IniWriteInt(u"Save", u"Score", i, kPath);
                IniWriteString(u"Config", u"isSoundOn", i % 2 ? u"1" : u"0", kPath);
            }
        }));
        started.CloseWriteEnd(); // a writer that dies early ends the read
        char c;
        ASSERT_TRUE(started.Read(c));
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
        writer.Kill();
        writer.Wait();

        const std::string bytes = root.Get(kHost);
        int score = -1;
        ASSERT_EQ(IniReadInt(u"Save", u"Score", &score, kPath), 1) << Printable(bytes);
        // Name is written first, so it is ahead of Score by at most one; the sound
        // switch follows the score.
        bool matches = false;
        for (int n : {score, score + 1})
            for (const char16_t* sound : {u"0", u"1"})
                matches =
                    matches ||
                    bytes == IniBytes(SettingsText(name(n), U16(std::to_string(score)), sound));
        ASSERT_TRUE(matches) << "after kill " << k << ": " << Printable(bytes);
    }
    CeFaultInjector::SetSyncEnabled(true);
}

} // namespace
