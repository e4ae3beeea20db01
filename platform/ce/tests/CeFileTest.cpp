// Files on the device: creation dispositions, sharing within and across processes,
// the read-only bit enforced even for root, moves, deletes, folders and searches.
#include "ce/ce.h"
#include "testing/TestDeviceRoot.h"
#include "testing/TestPipe.h"
#include "testing/TestProcess.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <thread>

namespace {

HANDLE Open(const char16_t* path, DWORD access, DWORD share, DWORD disposition) {
    return CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

constexpr DWORD R = GENERIC_READ, W = GENERIC_WRITE, RW = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD SR = FILE_SHARE_READ, SW = FILE_SHARE_WRITE;

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
        TestDeviceRoot root;
        root.MakeDir("Disk");
        if (c.exists)
            root.Put("Disk/f.bin", "abc");
        HANDLE h = Open(u"disk\\f.bin", RW, SR, c.disposition);
        EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.opens) << c.disposition;
        EXPECT_EQ(GetLastError(), c.error) << c.disposition;
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
        EXPECT_EQ(root.Exists("Disk/f.bin"), c.after != nullptr) << c.disposition;
        if (c.after) {
            EXPECT_EQ(root.Get("Disk/f.bin"), c.after) << c.disposition;
        }
    }
    TestDeviceRoot root;
    EXPECT_EQ(Open(u"Disk\\none\\f.bin", RW, SR, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    root.MakeDir("Disk");
    EXPECT_EQ(Open(u"Disk", R, SR, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(CeCreateFile, SharingBetweenHandles) {
    struct Case {
        DWORD access1, share1, access2, share2;
        bool second;
    } cases[] = {
        {R, SR, R, SR, true},       {R, SR, RW, SR, false},       {RW, SR, R, SR, false},
        {RW, SR, R, SR | SW, true}, {RW, SR, RW, SR | SW, false}, {R, 0, R, SR, false},
        {R, SR | SW, W, SR, true},  {W, SR | SW, R, SR, false},   {0, 0, R, SR, false},
        {0, SR | SW, RW, 0, true},
    };
    TestDeviceRoot root;
    root.Put("f.bin", "x");
    for (const auto& c : cases) {
        HANDLE first = Open(u"f.bin", c.access1, c.share1, OPEN_EXISTING);
        ASSERT_NE(first, INVALID_HANDLE_VALUE);
        HANDLE second = Open(u"F.bin", c.access2, c.share2, OPEN_EXISTING);
        EXPECT_EQ(second != INVALID_HANDLE_VALUE, c.second)
            << c.access1 << "/" << c.share1 << " then " << c.access2 << "/" << c.share2;
        if (second != INVALID_HANDLE_VALUE)
            CloseHandle(second);
        else
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        CloseHandle(first);
    }
    // Closing a handle frees the file for writers again.
    HANDLE h = Open(u"f.bin", RW, SR, OPEN_EXISTING);
    CloseHandle(h);
    h = Open(u"f.bin", RW, SR, OPEN_EXISTING);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
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
    ASSERT_TRUE(opened.Read(c));
    ASSERT_EQ(c, 'y');
    EXPECT_EQ(Open(u"f.bin", RW, SR, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open(u"f.bin", R, SR, OPEN_EXISTING), INVALID_HANDLE_VALUE); // would deny its write
    HANDLE reader = Open(u"f.bin", R, SR | SW, OPEN_EXISTING);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    CloseHandle(reader);
    EXPECT_FALSE(DeleteFileW(u"f.bin"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    release.Write('x');
    EXPECT_EQ(child.Wait(), 0); // a process that ends leaves nothing behind
    HANDLE writer = Open(u"f.bin", RW, SR, OPEN_EXISTING);
    EXPECT_NE(writer, INVALID_HANDLE_VALUE);
    CloseHandle(writer);
}

TEST(CeReadOnly, EnforcedEvenForRoot) {
    TestDeviceRoot root;
    root.Put("Disk/ro.ini", "data");
    chmod(root.Host("Disk/ro.ini").c_str(), 0444);
    EXPECT_EQ(GetFileAttributesW(u"Disk\\ro.ini"),
              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    struct Refusal {
        const char* name;
        bool ok;
    } refusals[] = {
        {"openWrite", Open(u"Disk\\ro.ini", W, SR, OPEN_EXISTING) != INVALID_HANDLE_VALUE},
        {"createAlways", Open(u"Disk\\ro.ini", RW, SR, CREATE_ALWAYS) != INVALID_HANDLE_VALUE},
        {"delete", DeleteFileW(u"Disk\\ro.ini") != 0},
    };
    for (const auto& r : refusals) {
        EXPECT_FALSE(r.ok) << r.name;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << r.name;
    }
    root.Put("Disk/other", "o");
    EXPECT_FALSE(MoveFileExW(u"Disk\\other", u"Disk\\ro.ini", MOVEFILE_REPLACE_EXISTING));
    HANDLE h = Open(u"Disk\\ro.ini", R, SR, OPEN_EXISTING);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_EQ(root.Get("Disk/ro.ini"), "data");

    EXPECT_TRUE(SetFileAttributesW(u"Disk\\ro.ini", FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(GetFileAttributesW(u"Disk\\ro.ini") & FILE_ATTRIBUTE_READONLY, 0u);
    h = Open(u"Disk\\ro.ini", W, SR, OPEN_EXISTING);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);

    // A read-only folder takes no new entries and loses none.
    chmod(root.Host("Disk").c_str(), 0555);
    EXPECT_EQ(GetFileAttributesW(u"Disk"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(Open(u"Disk\\new", RW, SR, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(DeleteFileW(u"Disk\\other"));
    EXPECT_FALSE(CreateDirectoryW(u"Disk\\sub", nullptr));
    EXPECT_TRUE(root.Exists("Disk/other"));
}

TEST(CeFileHandle, ReadWriteSeekTruncate) {
    TestDeviceRoot root;
    HANDLE h = Open(u"f.bin", RW, SR, CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    EXPECT_TRUE(WriteFile(h, "hello world", 11, &n, nullptr));
    EXPECT_EQ(n, 11u);
    DWORD high = 7;
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
    EXPECT_FALSE(WriteFile(h, "x", 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(SetEndOfFile(h));
    EXPECT_FALSE(FlushFileBuffers(h));
    EXPECT_FALSE(FindClose(h)); // not a search
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_FALSE(CloseHandle(h)); // closed already
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(ReadFile(h, buf, 1, &n, nullptr));
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_EQ(GetFileSize(reinterpret_cast<HANDLE>(0x12345), nullptr), INVALID_FILE_SIZE);
}

TEST(CeFileOps, MoveDeleteFolders) {
    TestDeviceRoot root;
    root.Put("Disk/a.ini", "A");
    root.Put("Disk/b.ini", "B");
    EXPECT_FALSE(MoveFileExW(u"Disk\\a.ini", u"Disk\\b.ini", 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(MoveFileExW(u"Disk\\a.ini", u"DISK\\B.INI",
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(root.Get("Disk/b.ini"), "A");
    EXPECT_FALSE(root.Exists("Disk/a.ini"));
    EXPECT_TRUE(MoveFileExW(u"Disk\\b.ini", u"Disk\\B.ini", 0)); // change of case
    EXPECT_EQ(root.Get("Disk/B.ini"), "A");
    EXPECT_FALSE(MoveFileExW(u"Disk\\none", u"Disk\\x", 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(MoveFileExW(u"Disk\\B.ini", u"Disk\\no\\x", 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

    EXPECT_TRUE(CreateDirectoryW(u"Disk\\Sub", nullptr));
    EXPECT_FALSE(CreateDirectoryW(u"disk\\sub", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(CreateDirectoryW(u"Disk\\x\\y", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_TRUE(MoveFileExW(u"Disk\\B.ini", u"Disk\\sub\\c.ini", 0));
    EXPECT_FALSE(RemoveDirectoryW(u"Disk\\Sub"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
    EXPECT_FALSE(RemoveDirectoryW(u"Disk\\Sub\\c.ini"));
    EXPECT_FALSE(DeleteFileW(u"Disk\\Sub"));
    EXPECT_TRUE(DeleteFileW(u"Disk\\Sub\\C.INI"));
    EXPECT_FALSE(DeleteFileW(u"Disk\\Sub\\C.INI"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
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
    EXPECT_FALSE(FindClose(f));

    f = FindFirstFileW(u"Disk\\*.ini", &d);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    std::u16string names = d.cFileName;
    while (FindNextFileW(f, &d)) {
        names += u',';
        names += d.cFileName;
    }
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
    for (const auto& m : misses) {
        EXPECT_EQ(FindFirstFileW(m.path, &d), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), m.error);
    }
}

TEST(CeLastError, PerThread) {
    SetLastError(1234);
    DWORD seen = 0;
    std::thread([&] { seen = GetLastError(); }).join();
    EXPECT_EQ(seen, 0u);
    EXPECT_EQ(GetLastError(), 1234u);
}

} // namespace
