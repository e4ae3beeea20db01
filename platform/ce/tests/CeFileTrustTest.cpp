// The file layer against what another user or a planted file can do: only regular files open
// and never hang, what the layer makes is private to this user, no lock of another process is
// waited for without a time limit, reads are bounded in size, and names from the device root
// are printed with their control characters escaped.
#include "ce/CePath.h"
#include "ce/CePrintable.h"
#include "ce/CeSharedDir.h"
#include "ce/ce.h"
#include "files/CeMountTable.h"
#include "ipc/CeProcessRecord.h"
#include "testing/TestDeviceRoot.h"
#include "testing/TestOtherUser.h"
#include "testing/TestProcess.h"

#include <chrono>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// Runs act in a forked child with its stderr kept in said: the child's exit code (0 when act
// held), or -1 when it had not ended after 8 s, that is when it hung.
int RunBounded(const std::function<bool()>& act, std::string& said) {
    char name[] = "/tmp/ce-said-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0)
        return -2;
    ::unlink(name);
    TestProcess child;
    const bool forked = child.Fork([&] {
        ::dup2(fd, 2);
        return act() ? 0 : 1;
    });
    const int rc = forked ? child.Wait(8000ms) : -2;
    child.Kill();
    said.clear();
    char buf[4096];
    ssize_t n;
    for (off_t at = 0; (n = ::pread(fd, buf, sizeof buf, at)) > 0; at += n)
        said.append(buf, static_cast<size_t>(n));
    ::close(fd);
    return rc;
}

size_t Lines(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

TEST(CeFileTrustTest, OnlyRegularFilesOpenAndNoneHangs) {
    TestDeviceRoot root;
    ASSERT_TRUE(root.MakeFifo("Disk/config.ini"));
    const struct {
        const char* what;
        std::function<bool()> act;
        const char* said; // in the one line on stderr
    } cases[] = {
        {"a FIFO read",
         [] {
             HANDLE h = CreateFileW(u"Disk\\config.ini", GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
             return h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED;
         },
         "config.ini: not a regular file"},
        {"a FIFO as the mounts file",
         [&] { return CeMountTable::ReadFile(root.Host("Disk/config.ini")).empty(); }, ""},
    };
    for (const auto& c : cases) {
        std::string said;
        EXPECT_EQ(RunBounded(c.act, said), 0) << c.what << " (-1: it hung)";
        EXPECT_EQ(Lines(said), *c.said ? 1u : 0u) << c.what << ": " << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << c.what << ": " << said;
    }
}

// The device root the user named keeps its mode; what the layer makes inside it, and a
// default root, are this user's alone, and so are .ce and the files of an older version.
TEST(CeFileTrustTest, WhatTheLayerMakesIsPrivate) {
    TestDeviceRoot root;
    ASSERT_EQ(::chmod(root.Path().c_str(), 0755), 0);
    root.MakeDir(".ce");
    root.MakeDir("Disk/Old");
    root.Put("Disk/Old/old.ini", "\xFF\xFE");
    for (const char* old : {".ce", "Disk", "Disk/Old"})
        ::chmod(root.Host(old).c_str(), 0755);
    ::chmod(root.Host("Disk/Old/old.ini").c_str(), 0644);

    ASSERT_TRUE(CreateDirectoryW(u"Disk\\Games", nullptr));
    HANDLE made = CreateFileW(u"Disk\\Games\\config.ini", GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(made, INVALID_HANDLE_VALUE);
    CloseHandle(made);
    HANDLE old = CreateFileW(u"Disk\\Old\\old.ini", GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(old, INVALID_HANDLE_VALUE);
    CloseHandle(old);
    ASSERT_FALSE(CeSharedDir::Get("mutex").empty());

    const struct {
        std::string path;
        mode_t mode;
    } expected[] = {
        {root.Path(), 0755},
        {root.Host(".ce"), 0700},
        {root.Host(".ce/mutex"), 0700},
        {root.Host("Disk/Games"), 0700},
        {root.Host("Disk/Games/config.ini"), 0600},
        {root.Host("Disk/Old/old.ini"), 0600},
    };
    for (const auto& e : expected)
        EXPECT_EQ(ModeOf(e.path), e.mode) << e.path;

    const std::string data = root.Host("xdg");
    const char* oldRoot = std::getenv("CE_DEVICE_ROOT");
    const std::string keep = oldRoot ? oldRoot : "";
    ::unsetenv("CE_DEVICE_ROOT");
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    CePath::ResetForTests();
    const std::string defaultRoot = CePath::DeviceRoot();
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("CE_DEVICE_ROOT", keep.c_str(), 1);
    CePath::ResetForTests();
    EXPECT_EQ(defaultRoot.rfind(data, 0), 0u) << defaultRoot;
    EXPECT_EQ(ModeOf(defaultRoot), 0700u) << defaultRoot;
}

// Another user who can reach an older root holds a lock for good: each call gives up after the
// time limit and says so once; a second call does not wait again.
// The result of writing the lock flag, or -1 when its key does not open.
LONG SetLockFlag(DWORD value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"System\\State\\MiniOneShell", 0, 0, &key) != 0)
        return -1;
    const LONG rc =
        RegSetValueExW(key, u"IsLockState", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    RegCloseKey(key);
    return rc;
}

bool SettingsRefused(DWORD access) {
    HANDLE h = CreateFileW(u"Disk\\config.ini", access, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    return h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
}

TEST(CeFileTrustTest, LocksHeldByAnotherUserAreWaitedForWithinALimit) {
    if (!TestOtherUser::Available())
        GTEST_SKIP() << "needs root to run a child as a second uid (65534); not tested here";
    const std::string kLockKey = ".ce/registry/hkey_local_machine/system/state/minioneshell";
    const struct {
        const char* what;
        std::string file; // below the root, made reachable to the other user
        TestOtherUser::Lock lock;
        std::function<bool()> act; // true when the call failed or went on as it should
        std::string said;          // in the one line on stderr
    } cases[] = {
        {"the mutex's creation lock", ".ce/mutex/.create.lock", TestOtherUser::Lock::Flock,
         [] {
             HANDLE h = CreateMutexW(nullptr, TRUE, u"Mole");
             return h == nullptr || GetLastError() != ERROR_ALREADY_EXISTS;
         },
         ".create.lock for over 2 s"},
        {"a settings file", "Disk/config.ini", TestOtherUser::Lock::Flock,
         [] { return SettingsRefused(GENERIC_READ); }, "config.ini for over 2 s"},
        {"a settings file its holder denies writing", "Disk/config.ini",
         TestOtherUser::Lock::OfdDenyWrite,
         [] { return SettingsRefused(GENERIC_READ | GENERIC_WRITE); },
         "config.ini: Device or resource busy"},
        {"a registry key's lock", kLockKey + "/.lock", TestOtherUser::Lock::Flock,
         [] {
             const LONG rc = SetLockFlag(1);
             return rc != ERROR_SUCCESS && rc != -1;
         },
         "minioneshell/.lock for over 2 s"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestDeviceRoot root;
        root.Put(c.file, "\xFF\xFE");
        root.OpenToOthers(c.file); // as an older version left its root
        TestProcess holder;
        ASSERT_TRUE(TestOtherUser::Hold(holder, root.Host(c.file), c.lock));
        std::string said;
        Clock::duration second{};
        const int rc = RunBounded(
            [&] {
                const bool first = c.act();
                const auto start = Clock::now();
                const bool again = c.act();
                second = Clock::now() - start;
                return first && again && second < 1s;
            },
            said);
        EXPECT_EQ(rc, 0) << "-1: it hung; 1: it did not fail, or waited again";
        EXPECT_EQ(Lines(said), 1u) << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
    }
}

// A shared file larger than any this program writes is never parsed, a mounts file is read
// only as far as it is used, and the registry replaces what it could not read.
TEST(CeFileTrustTest, ReadsOfPlantedFilesAreBounded) {
    TestDeviceRoot root;
    const std::string key = ".ce/registry/hkey_local_machine/system/state/minioneshell";
    root.MakeDir(key);
    std::string values = "registry 1\n";
    const std::string filler = "0046 4 00000000\n"; // value "F"
    while (values.size() < (2u << 20))
        values += filler;
    values += "00490073004c006f0063006b00530074006100740065 4 01000000\n"; // IsLockState = 1
    root.Put(key + "/.values", values);
    auto lockFlag = [] {
        HKEY k = nullptr;
        DWORD value = 0, size = 4;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"System\\State\\MiniOneShell", 0, 0, &k) != 0)
            return -1L;
        LONG rc = RegQueryValueExW(k, u"IsLockState", nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(&value), &size);
        RegCloseKey(k);
        return rc == ERROR_SUCCESS ? static_cast<long>(value) : -2L;
    };
    EXPECT_EQ(lockFlag(), -2L) << "a 2 MiB values file is no values";
    EXPECT_EQ(SetLockFlag(0), ERROR_SUCCESS);
    EXPECT_EQ(lockFlag(), 0L) << "written anew";

#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "an address-space limit and the sanitizer's shadow memory do not mix";
#else
    // A gigabyte of mounts file (sparse) read under a 256 MiB address space.
    const std::string mounts = root.Host("big.mounts");
    root.Put("big.mounts", "Disk\\Assets=/tmp\n");
    ASSERT_EQ(::truncate(mounts.c_str(), 1LL << 30), 0);
    std::string said;
    EXPECT_EQ(RunBounded(
                  [&] {
                      rlimit limit{256u << 20, 256u << 20};
                      ::setrlimit(RLIMIT_AS, &limit);
                      return CeMountTable::ReadFile(mounts).size() == 1;
                  },
                  said),
              0)
        << said;
#endif
}

TEST(CePrintableTest, ControlCharactersAreEscapedAndTheRestKept) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"\x1b]0;pwned\x07\x1b[2J", "\\x1b]0;pwned\\x07\\x1b[2J"},
        {"tab\tnew\nline\r\x7f", "tab\\x09new\\x0aline\\x0d\\x7f"},
        {"\xc2\x9b"
         "31m C1 CSI",
         "\\u009b31m C1 CSI"},
        {"\xe6\x89\x93\xe5\x9c\xb0\xe9\xbc\xa0 \xc3\xa9",
         "\xe6\x89\x93\xe5\x9c\xb0\xe9\xbc\xa0 \xc3\xa9"},
        {"bad \xff\xc0\x80 \xe6\x89", "bad \\xff\\xc0\\x80 \\xe6\\x89"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CePrintable::Escape(c.in), c.out) << c.out;
    EXPECT_EQ(CePrintable::Escape(u"\u6253\x1b"), "\xe6\x89\x93\\x1b");
}

// A folder planted under .ce/procs with a terminal escape in its name is set aside, and the
// line that says so shows the escape as text.
TEST(CePrintableTest, SetAsideLineShowsAPlantedNameEscaped) {
    TestDeviceRoot root;
    root.MakeDir(".ce/procs/1-00000000000000aa\x1b]0;pwned\x07\x1b[2J.rec");
    ::testing::internal::CaptureStderr();
    CeProcessRecord::Live(true);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("set aside"), std::string::npos) << said;
    EXPECT_NE(said.find("aa\\x1b]0;pwned\\x07\\x1b[2J.rec"), std::string::npos) << said;
    EXPECT_EQ(said.find('\x1b'), std::string::npos) << "raw escape on stderr";
}

} // namespace
