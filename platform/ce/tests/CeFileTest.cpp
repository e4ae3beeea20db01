// Files on the device: dispositions, sharing, the read-only bit even for root, folders,
// searches, devices opened as files, and the one line told when a file cannot be written.
#include "CeFileCalls.h"

#include "ce/CeDeviceManager.h"
#include "ce/CePath.h"
#include "ce/ce.h"
#include "testing/TestDeviceRoot.h"
#include "testing/TestPipe.h"
#include "testing/TestProcess.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

namespace {

TEST(CeCreateFile, Dispositions) {
    struct Case {
        bool exists;
        DWORD disposition;
        bool opens;
        DWORD error;
        const char* after; // null: no file
    } cases[] = {
        {true, OPEN_EXISTING, true, ERROR_SUCCESS, "abc"},
        {true, CREATE_NEW, false, ERROR_FILE_EXISTS, "abc"},
        {true, CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS, ""},
        {true, OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS, "abc"},
        {true, TRUNCATE_EXISTING, true, ERROR_SUCCESS, ""},
        {false, OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND, nullptr},
        {false, CREATE_NEW, true, ERROR_SUCCESS, ""},
        {false, CREATE_ALWAYS, true, ERROR_SUCCESS, ""},
        {false, OPEN_ALWAYS, true, ERROR_SUCCESS, ""},
        {false, TRUNCATE_EXISTING, false, ERROR_FILE_NOT_FOUND, nullptr},
        {false, 0, false, ERROR_INVALID_PARAMETER, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.disposition);
        TestDeviceRoot root;
        root.MakeDir("Disk");
        if (c.exists)
            root.Put("Disk/f.bin", "abc");
        HANDLE h = Open(u"disk\\f.bin", RW, SR, c.disposition);
        EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.opens);
        EXPECT_EQ(GetLastError(), c.error);
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
        EXPECT_EQ(root.Exists("Disk/f.bin") ? root.Get("Disk/f.bin") : "(none)",
                  c.after ? c.after : "(none)");
    }
    TestDeviceRoot root;
    EXPECT_TRUE(Fails(Open(u"Disk\\none\\f.bin", RW, SR, CREATE_ALWAYS), ERROR_PATH_NOT_FOUND));
    root.MakeDir("Disk");
    EXPECT_TRUE(Fails(Open(u"Disk", R, SR, OPEN_EXISTING), ERROR_ACCESS_DENIED));
}

// The third row opens for writing again: closing handles frees the file.
TEST(CeCreateFile, SharingBetweenHandles) {
    struct Case {
        DWORD access1, share1, access2, share2;
        bool second;
    } cases[] = {
        {R, SR, R, SR, true},       {R, SR, RW, SR, false},    {RW, SR, R, SR, false},
        {RW, SR, R, SR | SW, true}, {R, 0, R, SR, false},      {R, SR | SW, W, SR, true},
        {0, 0, R, SR, false},       {0, SR | SW, RW, 0, true},
    };
    TestDeviceRoot root;
    root.Put("f.bin", "x");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.access1 << "/" << c.share1 << " then " << c.access2 << "/" << c.share2);
        HANDLE first = Open(u"f.bin", c.access1, c.share1, OPEN_EXISTING);
        ASSERT_NE(first, INVALID_HANDLE_VALUE);
        if (c.second)
            EXPECT_TRUE(Opens(u"F.bin", c.access2, c.share2));
        else
            EXPECT_TRUE(
                Fails(Open(u"F.bin", c.access2, c.share2, OPEN_EXISTING), ERROR_SHARING_VIOLATION));
        CloseHandle(first);
    }
}

TEST(CeCreateFile, SharingAcrossProcesses) {
    TestDeviceRoot root;
    root.Put("f.bin", "x");
    TestPipe opened, release;
    TestProcess child;
    ASSERT_TRUE(child.Fork([&] {
        opened.CloseReadEnd();
        release.CloseWriteEnd();
        HANDLE h = Open(u"f.bin", RW, SR, OPEN_EXISTING);
        opened.Write(h == INVALID_HANDLE_VALUE ? 'n' : 'y');
        char c;
        release.Read(c);
        return 0;
    }));
    opened.CloseWriteEnd();
    release.CloseReadEnd();
    char c = 0;
    ASSERT_TRUE(opened.Read(c) && c == 'y');
    EXPECT_FALSE(Opens(u"f.bin", R)); // would deny its write
    EXPECT_TRUE(Opens(u"f.bin", R, SR | SW));
    EXPECT_TRUE(Fails(DeleteFileW(u"f.bin"), ERROR_SHARING_VIOLATION));
    release.Write('x');
    EXPECT_EQ(child.Wait(), 0); // a process that ends leaves nothing behind
    EXPECT_TRUE(Opens(u"f.bin", RW));
}

TEST(CeReadOnly, EnforcedEvenForRoot) {
    TestDeviceRoot root;
    root.Put("Disk/ro.ini", "data");
    root.Put("Disk/other", "o");
    chmod(root.Host("Disk/ro.ini").c_str(), 0444);
    EXPECT_EQ(GetFileAttributesW(u"Disk\\ro.ini"),
              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(Fails(Open(u"Disk\\ro.ini", W, SR, OPEN_EXISTING), ERROR_ACCESS_DENIED));
    EXPECT_TRUE(Fails(Open(u"Disk\\ro.ini", RW, SR, CREATE_ALWAYS), ERROR_ACCESS_DENIED));
    EXPECT_TRUE(Fails(DeleteFileW(u"Disk\\ro.ini"), ERROR_ACCESS_DENIED));
    EXPECT_FALSE(MoveFileExW(u"Disk\\other", u"Disk\\ro.ini", MOVEFILE_REPLACE_EXISTING));
    EXPECT_TRUE(Opens(u"Disk\\ro.ini", R));
    EXPECT_EQ(root.Get("Disk/ro.ini"), "data");

    EXPECT_TRUE(SetFileAttributesW(u"Disk\\ro.ini", FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_TRUE(Opens(u"Disk\\ro.ini", W));

    // A read-only folder takes no new entries and loses none.
    chmod(root.Host("Disk").c_str(), 0555);
    EXPECT_EQ(GetFileAttributesW(u"Disk"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(Fails(Open(u"Disk\\new", RW, SR, CREATE_NEW), ERROR_ACCESS_DENIED));
    EXPECT_FALSE(DeleteFileW(u"Disk\\other"));
    EXPECT_FALSE(CreateDirectoryW(u"Disk\\sub", nullptr));
}

TEST(CeFileHandle, ReadWriteSeekTruncate) {
    TestDeviceRoot root;
    HANDLE h = Open(u"f.bin", RW, SR, CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0, high = 7;
    EXPECT_TRUE(WriteFile(h, "hello world", 11, &n, nullptr));
    EXPECT_EQ(n, 11u);
    EXPECT_EQ(GetFileSize(h, &high), 11u);
    EXPECT_EQ(high, 0u);
    EXPECT_EQ(SetFilePointer(h, 6, nullptr, FILE_BEGIN), 6u);
    char buf[16] = {};
    EXPECT_TRUE(ReadFile(h, buf, sizeof buf, &n, nullptr));
    EXPECT_EQ(std::string(buf, n), "world");
    EXPECT_TRUE(ReadFile(h, buf, sizeof buf, &n, nullptr)); // at the end: 0 bytes
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(SetFilePointer(h, -6, nullptr, FILE_END), 5u);
    EXPECT_TRUE(SetEndOfFile(h));
    EXPECT_EQ(SetFilePointer(h, -1, nullptr, FILE_CURRENT), 4u);
    EXPECT_EQ(SetFilePointer(h, -10, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_TRUE(FlushFileBuffers(h));
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(root.Get("f.bin"), "hello");

    h = Open(u"f.bin", R, SR, OPEN_EXISTING);
    EXPECT_TRUE(Fails(WriteFile(h, "x", 1, &n, nullptr), ERROR_ACCESS_DENIED));
    EXPECT_FALSE(SetEndOfFile(h));
    EXPECT_FALSE(FlushFileBuffers(h));
    EXPECT_FALSE(FindClose(h)); // not a search
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_TRUE(Fails(CloseHandle(h), ERROR_INVALID_HANDLE)); // closed already
    EXPECT_FALSE(ReadFile(h, buf, 1, &n, nullptr));
    EXPECT_EQ(GetFileSize(reinterpret_cast<HANDLE>(0x12345), nullptr), INVALID_FILE_SIZE);
}

TEST(CeFileOps, MoveDeleteFolders) {
    TestDeviceRoot root;
    root.Put("Disk/a.ini", "A");
    root.Put("Disk/b.ini", "B");
    EXPECT_TRUE(Fails(MoveFileExW(u"Disk\\a.ini", u"Disk\\b.ini", 0), ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(MoveFileExW(u"Disk\\a.ini", u"DISK\\B.INI",
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_FALSE(root.Exists("Disk/a.ini"));
    EXPECT_TRUE(MoveFileExW(u"Disk\\b.ini", u"Disk\\B.ini", 0)); // change of case
    EXPECT_EQ(root.Get("Disk/B.ini"), "A");
    EXPECT_TRUE(Fails(MoveFileExW(u"Disk\\none", u"Disk\\x", 0), ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(Fails(MoveFileExW(u"Disk\\B.ini", u"Disk\\no\\x", 0), ERROR_PATH_NOT_FOUND));

    EXPECT_TRUE(CreateDirectoryW(u"Disk\\Sub", nullptr));
    EXPECT_TRUE(Fails(CreateDirectoryW(u"disk\\sub", nullptr), ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(Fails(CreateDirectoryW(u"Disk\\x\\y", nullptr), ERROR_PATH_NOT_FOUND));
    EXPECT_TRUE(MoveFileExW(u"Disk\\B.ini", u"Disk\\sub\\c.ini", 0));
    EXPECT_TRUE(Fails(RemoveDirectoryW(u"Disk\\Sub"), ERROR_DIR_NOT_EMPTY));
    EXPECT_FALSE(RemoveDirectoryW(u"Disk\\Sub\\c.ini"));
    EXPECT_FALSE(DeleteFileW(u"Disk\\Sub"));
    EXPECT_TRUE(DeleteFileW(u"Disk\\Sub\\C.INI"));
    EXPECT_TRUE(Fails(DeleteFileW(u"Disk\\Sub\\C.INI"), ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(RemoveDirectoryW(u"Disk\\Sub"));
    EXPECT_FALSE(RemoveDirectoryW(u"\\"));
}

TEST(CeFind, ExactAndPatterns) {
    TestDeviceRoot root;
    root.Put("Disk/a.ini", "12345");
    root.Put("Disk/b.INI", "");
    root.Put("Disk/c.txt", "");
    WIN32_FIND_DATAW d;
    HANDLE f = FindFirstFileW(u"disk\\A.INI", &d);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(std::u16string(d.cFileName) == u"a.ini");
    EXPECT_EQ(d.nFileSizeLow, 5u);
    EXPECT_EQ(d.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_FALSE(FindNextFileW(f, &d));
    EXPECT_TRUE(FindClose(f));

    f = FindFirstFileW(u"Disk\\*.ini", &d);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    std::u16string names = d.cFileName;
    while (FindNextFileW(f, &d))
        names += u',' + std::u16string(d.cFileName);
    FindClose(f);
    EXPECT_TRUE(names == u"a.ini,b.INI");

    struct Miss {
        const char16_t* path;
        DWORD error;
    } misses[] = {{u"Disk\\none", ERROR_FILE_NOT_FOUND},
                  {u"Disk\\no\\none", ERROR_PATH_NOT_FOUND},
                  {u"Disk\\*.bmp", ERROR_FILE_NOT_FOUND},
                  {u"\\", ERROR_FILE_NOT_FOUND},
                  {u"Disk\\..\\..", ERROR_INVALID_NAME}};
    for (const auto& m : misses)
        EXPECT_TRUE(Fails(FindFirstFileW(m.path, &d), m.error));
}

TEST(CeLastError, PerThread) {
    SetLastError(1234);
    DWORD seen = 0;
    std::thread([&] { seen = GetLastError(); }).join();
    EXPECT_EQ(seen, 0u);
}

// Devices are files too: a served device is found by its class, opened by its bus name, and
// its codes reach its handler.
const GUID kClass = {0x12345678, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};
const GUID kOtherClass = {0x12345678, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 9}};

// Echoes code 1 doubled, refuses everything else.
BOOL Echo(DWORD code, const std::vector<BYTE>& in, std::vector<BYTE>& out, DWORD) {
    if (code != 1) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    out = in;
    out.insert(out.end(), in.begin(), in.end());
    return TRUE;
}

TEST(CeDeviceManagerTest, FindOpenAndControlAServedDevice) {
    TestDeviceRoot root;
    DEVMGR_DEVICE_INFORMATION info = {};
    info.dwSize = sizeof info;
    ASSERT_TRUE(CeRegisterDevice(kClass, u"TST1:", Echo));
    EXPECT_FALSE(CeRegisterDevice(kClass, u"tst1:", Echo)); // bus names are unique
    HANDLE search = FindFirstDevice(DeviceSearchByGuid, &kClass, &info);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(std::u16string(info.szBusName), u"TST1:");
    EXPECT_EQ(info.dwSize, sizeof info);
    EXPECT_TRUE(FindClose(search));
    EXPECT_EQ(FindFirstDevice(DeviceSearchByGuid, &kOtherClass, &info), INVALID_HANDLE_VALUE);

    HANDLE device = Open(u"tst1:", R, SR, OPEN_EXISTING);
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    BYTE in[3] = {7, 8, 9}, out[8] = {};
    DWORD returned = 0;
    EXPECT_TRUE(DeviceIoControl(device, 1, in, 3, out, sizeof out, &returned, nullptr));
    EXPECT_EQ(returned, 6u);
    EXPECT_EQ(std::memcmp(out, "\x07\x08\x09\x07\x08\x09", 6), 0);
    // Output cut to the caller's buffer, never past it.
    BYTE small[2] = {};
    EXPECT_TRUE(DeviceIoControl(device, 1, in, 3, small, 2, &returned, nullptr));
    EXPECT_EQ(returned, 2u);
    EXPECT_TRUE(Fails(DeviceIoControl(device, 2, in, 3, nullptr, 0, &returned, nullptr),
                      ERROR_NOT_SUPPORTED));
    // Bad requests get clear results.
    EXPECT_TRUE(Fails(DeviceIoControl(device, 1, nullptr, 4, nullptr, 0, &returned, nullptr),
                      ERROR_INVALID_PARAMETER));
    info.dwSize = sizeof info - 1;
    EXPECT_EQ(FindFirstDevice(DeviceSearchByGuid, &kClass, &info), INVALID_HANDLE_VALUE);
    info.dwSize = sizeof info;
    EXPECT_EQ(FindFirstDevice(DeviceSearchByGuid, nullptr, &info), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstDevice(DeviceSearchByGuid, &kClass, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstDevice(DeviceSearchByBusName, u"TST1:", &info), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(CeRegisterDevice(kClass, nullptr, Echo));

    EXPECT_TRUE(CloseHandle(device));
    EXPECT_TRUE(
        Fails(DeviceIoControl(device, 1, in, 3, out, 8, &returned, nullptr), ERROR_INVALID_HANDLE));
    EXPECT_TRUE(CeUnregisterDevice(u"TST1:"));
    EXPECT_EQ(FindFirstDevice(DeviceSearchByGuid, &kClass, &info), INVALID_HANDLE_VALUE);
}

// What body writes on stderr, run in a new process (the lines are once per run).
std::string StderrOf(const TestDeviceRoot& root, const std::function<void()>& body) {
    TestProcess child;
    EXPECT_TRUE(child.Fork([&] {
        dup2(open(root.Host("stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        body();
        return 0;
    }));
    EXPECT_EQ(child.Wait(std::chrono::milliseconds(10000)), 0);
    return root.Get("stderr.txt");
}

// Failures the player would not see otherwise get one line on stderr, with file and reason, once.
// Reading, missing and already existing files are the caller's question, not a fault to tell.
TEST(CeNoticeTest, FileThatCannotBeWrittenIsToldOnceWithItsReason) {
    TestDeviceRoot root;
    root.MakeDir("config.ini"); // a folder where a file belongs
    root.Put("plain", "a file, not a folder");
    const auto openForWriting = [] {
        EXPECT_EQ(Open(u"\\config.ini", RW, SR, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    };
    const auto replace = [&] {
        root.Put("config.ini~", "");
        EXPECT_FALSE(MoveFileExW(u"\\config.ini~", u"\\config.ini", MOVEFILE_REPLACE_EXISTING));
    };
    const std::string cannotWrite = "cannot write " + root.Host("config.ini") + ": Is a directory";
    const struct {
        const char* name;
        std::function<void()> body;
        std::string line; // the one line told; empty for nothing
    } cases[] = {
        {"opened for writing", openForWriting, cannotWrite},
        {"replaced", replace, cannotWrite},
        {"both: one line",
         [&] {
             openForWriting();
             replace();
             openForWriting();
         },
         cannotWrite},
        {"reading and missing files",
         [] {
             EXPECT_FALSE(Opens(u"\\absent.ini", R));
             EXPECT_TRUE(CloseHandle(Open(u"\\new.ini", W, 0, CREATE_NEW)));
             EXPECT_EQ(Open(u"\\new.ini", W, 0, CREATE_NEW), INVALID_HANDLE_VALUE);
         },
         ""},
        {"device root that cannot be made",
         [&] {
             setenv("CE_DEVICE_ROOT", root.Host("plain/device").c_str(), 1);
             CePath::ResetForTests();
             CePath::DeviceRoot();
         },
         "cannot make the device root " + root.Host("plain/device") + ": Not a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = StderrOf(root, c.body);
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), c.line.empty() ? 0 : 1) << text;
        EXPECT_NE(text.find(c.line), std::string::npos) << text;
    }
}

} // namespace
