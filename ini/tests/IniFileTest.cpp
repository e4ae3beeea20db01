// The INI operations on files in a temporary device root: creation, the file-level
// failures (missing, no mark, read-only, bad paths), sharing with another process, and
// a failure injected at every file call of a change.
#include "IniFile.h"
#include "IniDocument.h"
#include "IniTestBytes.h"
#include "ce/CeFaultInjector.h"
#include "ce/ce.h"
#include "testing/TestDeviceRoot.h"
#include "testing/TestPipe.h"
#include "testing/TestProcess.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace {

const char16_t* const kPath = u"Disk\\Programs\\Games\\burrowbop\\config.ini";
const char* const kHost = "Disk/Programs/Games/burrowbop/config.ini";

class IniFileTest : public testing::Test {
protected:
    void SetUp() override { root.MakeDir("Disk/Programs/Games/burrowbop"); }
    void Put(const std::string& bytes) { root.Put(kHost, bytes); }
    std::string Get() { return root.Get(kHost); }
    static void MakeReadOnly(const char16_t* path) {
        ASSERT_TRUE(SetFileAttributesW(path, FILE_ATTRIBUTE_READONLY));
    }
    TestDeviceRoot root;
};

std::u16string ReadString(const char16_t* section, const char16_t* key, int* result) {
    LPWSTR out = nullptr;
    *result = IniReadString(section, key, &out, kPath);
    std::u16string s = out ? out : u"";
    delete[] out;
    return s;
}

TEST_F(IniFileTest, CreateFileCases) {
    struct Case {
        const char* name;
        const char16_t* path;
        const char* hostBefore; // null: no file
        std::string before;
        int result;
        const char* hostAfter;
        std::string after;
    } cases[] = {
        {"new", u"Disk\\a.ini", nullptr, "", 1, "Disk/a.ini", "\xFF\xFE"},
        {"keepsMarked", u"Disk\\a.ini", "Disk/a.ini", IniBytes(u"[A]\r\n  k=1"), 1, "Disk/a.ini",
         IniBytes(u"[A]\r\n  k=1")},
        {"replacesOneByte", u"Disk\\a.ini", "Disk/a.ini", "\xFF", 1, "Disk/a.ini", "\xFF\xFE"},
        {"replacesOtherBytes", u"Disk\\a.ini", "Disk/a.ini", "hello", 1, "Disk/a.ini", "\xFF\xFE"},
        {"replacesEmpty", u"Disk\\a.ini", "Disk/a.ini", "", 1, "Disk/a.ini", "\xFF\xFE"},
        {"upperExtension", u"\\Disk\\B.INI", nullptr, "", 1, "Disk/B.INI", "\xFF\xFE"},
        {"mixedExtension", u"Disk\\c.Ini", nullptr, "", 1, "Disk/c.Ini", "\xFF\xFE"},
        {"rootFolder", u"\\r.ini", nullptr, "", 1, "r.ini", "\xFF\xFE"},
        {"fourChars", u".ini", nullptr, "", 0, ".ini", ""},
        {"noDot", u"Disk\\abcini", nullptr, "", 0, "Disk/abcini", ""},
        {"bakExtension", u"Disk\\a.ini.bak", nullptr, "", 0, "Disk/a.ini.bak", ""},
        {"noBackslash", u"a.ini", nullptr, "", 0, "a.ini", ""},
        {"missingFolder", u"Disk\\nope\\a.ini", nullptr, "", 0, "Disk/nope", ""},
        {"dotDot", u"Disk\\..\\a.ini", nullptr, "", 0, "a.ini", ""},
    };
    for (const auto& c : cases) {
        TestDeviceRoot fresh;
        fresh.MakeDir("Disk");
        if (c.hostBefore)
            fresh.Put(c.hostBefore, c.before);
        EXPECT_EQ(IniCreateFile(c.path), c.result) << c.name;
        if (c.result) {
            EXPECT_EQ(fresh.Get(c.hostAfter), c.after) << c.name;
        } else
            EXPECT_FALSE(fresh.Exists(c.hostAfter)) << c.name;
    }
    EXPECT_EQ(IniCreateFile(nullptr), 0);
}

TEST_F(IniFileTest, CreateFileClearsReadOnlyAndKeepsContent) {
    Put(IniBytes(u"[A]"));
    MakeReadOnly(kPath);
    ASSERT_NE(GetFileAttributesW(kPath) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(IniCreateFile(kPath), 1);
    EXPECT_EQ(GetFileAttributesW(kPath) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(Get(), IniBytes(u"[A]"));
}

TEST_F(IniFileTest, PathTooLongFailsEverywhere) {
    std::u16string path = u"Disk\\" + std::u16string(251, u'x') + u".ini"; // 260 characters
    EXPECT_EQ(IniCreateFile(path.c_str()), 0);
    EXPECT_EQ(IniWriteString(u"A", u"k", u"v", path.c_str()), 0);
    EXPECT_FALSE(FileExists(path.c_str()));
}

TEST_F(IniFileTest, FileExistsForFilesAndFolders) {
    Put(IniBytes(u""));
    EXPECT_TRUE(FileExists(kPath));
    EXPECT_TRUE(FileExists(u"\\disk\\programs"));
    EXPECT_FALSE(FileExists(u"Disk\\none.ini"));
    EXPECT_FALSE(FileExists(nullptr));
    EXPECT_FALSE(FileExists(u"Disk\\..\\..\\etc"));
}

TEST_F(IniFileTest, GameSettingsRoundTrip) {
    ASSERT_EQ(IniCreateFile(kPath), 1);
    EXPECT_EQ(IniWriteString(u"Config", u"isSoundOn", u"0", kPath), 1);
    EXPECT_EQ(IniWriteString(u"Zellik", u"Version", u"2", kPath), 1);
    EXPECT_EQ(IniWriteString(u"Save", u"Name", u"小儿子", kPath), 1);
    EXPECT_EQ(IniWriteInt(u"Save", u"Score", 5, kPath), 1);
    EXPECT_EQ(Get(), IniBytes(SettingsText(u"小儿子", u"5")));
    int r = 0;
    EXPECT_TRUE(ReadString(u"Save", u"Name", &r) == u"小儿子");
    EXPECT_EQ(r, 1);
    EXPECT_EQ(IniGetSectionCount(kPath), 3u);
    EXPECT_EQ(IniSectionExists(u"Zellik", kPath), 1);
    EXPECT_FALSE(root.Exists(std::string(kHost) + "~")); // no temporary file left
}

TEST_F(IniFileTest, IntegerCases) {
    Put(IniBytes(u"[A]\r\n  a=12abc\r\n  b=abc\r\n  c=-2147483648\r\n  d=99999999999\r\n  e= +7"));
    struct Case {
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
    int r = 0;
    EXPECT_TRUE(ReadString(u"A", u"f", &r) == u"-2147483648");
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
    EXPECT_EQ(IniWriteString(u"A", u"", nullptr, kPath), 0);
    EXPECT_EQ(IniWriteString(nullptr, nullptr, nullptr, kPath), 0);
    EXPECT_EQ(IniWriteString(u"A", u"k", u"v", nullptr), 0);
    EXPECT_EQ(IniSectionExists(u"", kPath), 0);
    EXPECT_EQ(IniSectionExists(u"A", nullptr), 0);
    EXPECT_EQ(IniGetSectionCount(nullptr), 0u);
    IniGetSectionName(nullptr, 10, 0, kPath);
    EXPECT_EQ(Get(), before);
}

TEST_F(IniFileTest, FilesThatAreNoIniFilesStayAsTheyAre) {
    const std::string cases[] = {"", "\xFF", "\xFE\xFF[\0A\0]\0", "plain [A]\n k=1",
                                 std::string(1 << 16, '\0')};
    for (const auto& bytes : cases) {
        Put(bytes);
        int r = -1;
        ReadString(u"A", u"k", &r);
        EXPECT_EQ(r, 0);
        EXPECT_EQ(IniWriteString(u"A", u"k", u"v", kPath), 0);
        EXPECT_EQ(IniWriteString(u"A", nullptr, nullptr, kPath), 0);
        EXPECT_EQ(IniSectionExists(u"A", kPath), 0);
        EXPECT_EQ(IniGetSectionCount(kPath), 0u);
        EXPECT_EQ(Get(), bytes);
    }
    EXPECT_EQ(IniWriteString(u"A", u"k", u"v", u"Disk\\missing.ini"), 0);
    EXPECT_FALSE(root.Exists("Disk/missing.ini"));
}

TEST_F(IniFileTest, ReadOnlyFileCanOnlyBeRead) {
    const std::string before = IniBytes(u"[A]\r\n  k=1");
    Put(before);
    MakeReadOnly(kPath);
    int r = 0;
    EXPECT_TRUE(ReadString(u"A", u"k", &r) == u"1");
    EXPECT_EQ(r, 1);
    EXPECT_EQ(IniWriteString(u"A", u"k", u"2", kPath), 0);
    EXPECT_EQ(IniWriteString(u"A", u"absent", nullptr, kPath), 0);
    EXPECT_EQ(IniWriteString(u"B", nullptr, nullptr, kPath), 0);
    EXPECT_EQ(IniSectionExists(u"A", kPath), 0);
    EXPECT_EQ(IniGetSectionCount(kPath), 0u);
    EXPECT_EQ(Get(), before);
}

TEST_F(IniFileTest, ReadOnlyFolderRefusesChanges) {
    const std::string before = IniBytes(u"[A]\r\n  k=1");
    Put(before);
    MakeReadOnly(u"Disk\\Programs\\Games\\burrowbop");
    int r = 0;
    EXPECT_TRUE(ReadString(u"A", u"k", &r) == u"1");
    EXPECT_EQ(IniWriteString(u"A", u"k", u"2", kPath), 0);
    EXPECT_EQ(IniWriteString(u"A", u"absent", nullptr, kPath), 1); // nothing to change
    EXPECT_EQ(IniCreateFile(u"Disk\\Programs\\Games\\burrowbop\\new.ini"), 0);
    EXPECT_EQ(Get(), before);
}

TEST_F(IniFileTest, SectionNameHonoursBufferSize) {
    Put(IniBytes(u"[Config]\r\n[Zellik]\r\n[Save]"));
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

TEST_F(IniFileTest, BigFiles) {
    std::u16string text;
    int sections = 0;
    for (int i = 0; text.size() < 600000; ++i, ++sections) {
        std::string d = std::to_string(i);
        text += u"[S" + std::u16string(d.begin(), d.end()) + u"]\r\n  k=1\r\n";
    }
    Put(IniBytes(text));
    EXPECT_EQ(IniWriteString(u"S100", u"k", u"2", kPath), 1);
    int v = 0;
    EXPECT_EQ(IniReadInt(u"S100", u"k", &v, kPath), 1);
    EXPECT_EQ(v, 2);
    EXPECT_EQ(IniGetSectionCount(kPath), static_cast<UINT>(sections));
    std::u16string huge(1 << 19, u'h');
    EXPECT_EQ(IniWriteString(u"S1", u"big", huge.c_str(), kPath), 1);
    int r = 0;
    EXPECT_EQ(ReadString(u"S1", u"big", &r).size(), huge.size());
}

// Each file call of a change fails once in turn: the result is 0, the file is as it
// was, and no temporary file is left.
TEST_F(IniFileTest, FailureAtEveryFileCallLeavesFileIntact) {
    struct Case {
        const char* name;
        std::function<int()> op;
    } cases[] = {
        {"appendSection", [] { return IniWriteString(u"New", u"k", u"v", kPath); }},
        {"appendKey", [] { return IniWriteString(u"Save", u"New", u"v", kPath); }},
        {"rewriteValue", [] { return IniWriteString(u"Config", u"isSoundOn", u"1", kPath); }},
        {"insertKey", [] { return IniWriteString(u"Config", u"New", u"1", kPath); }},
        {"removeKey", [] { return IniWriteString(u"Save", u"Name", nullptr, kPath); }},
        {"removeSection", [] { return IniWriteString(u"Zellik", nullptr, nullptr, kPath); }},
    };
    const std::string before = IniBytes(SettingsText(u"n", u"5"));
    for (const auto& c : cases) {
        Put(before);
        CeFaultInjector::Arm(CeFaultInjector::kAll, 0);
        ASSERT_EQ(c.op(), 1) << c.name;
        const int calls = CeFaultInjector::Calls();
        EXPECT_GE(calls, 4) << c.name;
        for (int n = 1; n <= calls; ++n) {
            Put(before);
            CeFaultInjector::Arm(CeFaultInjector::kAll, n);
            EXPECT_EQ(c.op(), 0) << c.name << " failing call " << n;
            CeFaultInjector::Disarm();
            EXPECT_EQ(Get(), before) << c.name << " failing call " << n;
            EXPECT_FALSE(root.Exists(std::string(kHost) + "~")) << c.name << " call " << n;
        }
    }
    CeFaultInjector::Disarm();
}

TEST_F(IniFileTest, CreateFileFailureKeepsOldFile) {
    CeFaultInjector::Arm(CeFaultInjector::kAll, 0);
    Put("junk");
    ASSERT_EQ(IniCreateFile(kPath), 1);
    const int calls = CeFaultInjector::Calls();
    for (int n = 1; n <= calls; ++n) {
        Put("junk");
        CeFaultInjector::Arm(CeFaultInjector::kAll, n);
        int r = IniCreateFile(kPath);
        CeFaultInjector::Disarm();
        // The read of the old mark may be the call that fails; then it is replaced.
        EXPECT_EQ(Get(), r ? std::string("\xFF\xFE") : std::string("junk")) << n;
    }
}

// A second process that opens the settings file with the given access (sharing reads
// only) and holds it open until Release.
class OtherProcessHold {
public:
    bool Open(DWORD access) {
        if (!toChild_.Open() || !toParent_.Open())
            return false;
        const bool forked = process_.Fork([this, access] {
            HANDLE h = CreateFileW(kPath, access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
            char c = h == INVALID_HANDLE_VALUE ? 'n' : 'y';
            toParent_.Write(c);
            toChild_.Read(c);
            return 0;
        });
        char c = 0;
        return forked && toParent_.Read(c) && c == 'y';
    }
    void Release() {
        toChild_.Write('x');
        process_.Wait();
    }

private:
    TestPipe toChild_, toParent_;
    TestProcess process_;
};

// Another process holding the file open for reading (as IniReadString does) shuts out
// writers but not readers.
TEST_F(IniFileTest, OtherProcessReaderShutsOutWriters) {
    Put(IniBytes(u"[A]\r\n  k=1"));
    OtherProcessHold reader;
    ASSERT_TRUE(reader.Open(GENERIC_READ));
    int r = 0;
    EXPECT_TRUE(ReadString(u"A", u"k", &r) == u"1");
    EXPECT_EQ(IniWriteString(u"A", u"k", u"2", kPath), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    reader.Release();
    EXPECT_EQ(IniWriteString(u"A", u"k", u"2", kPath), 1);
}

// While another process holds the file open for writing, IniCreateFile cannot look at
// it and must not replace it, whatever it holds; once the writer is gone it can.
TEST_F(IniFileTest, OtherProcessWriterKeepsFileFromCreate) {
    const struct {
        const char* name;
        std::string bytes;
        std::string afterWriterLeft;
    } cases[] = {
        {"marked", IniBytes(SettingsText(u"x", u"9")), IniBytes(SettingsText(u"x", u"9"))},
        {"unmarked", "plain text", "\xFF\xFE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Put(c.bytes);
        OtherProcessHold writer;
        ASSERT_TRUE(writer.Open(GENERIC_READ | GENERIC_WRITE));
        EXPECT_EQ(IniCreateFile(kPath), 0);
        EXPECT_EQ(Printable(Get()), Printable(c.bytes));
        writer.Release();
        EXPECT_EQ(IniCreateFile(kPath), 1);
        EXPECT_EQ(Printable(Get()), Printable(c.afterWriterLeft));
    }
}

} // namespace
