// Objects shared by name or handle: the handle table, shared file names, registered messages,
// named mutexes, registry keys and values, and the program's name that places the device root
// and sockets.
#include "ce/CeHandleTable.h"
#include "ce/CeIpcChannel.h"
#include "ce/CePath.h"
#include "ce/CeProduct.h"
#include "ce/ce.h"
#include "objects/CeSharedText.h"
#include "testing/TestDeviceRoot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <thread>

namespace {

struct Counted : CeObject {
    explicit Counted(int* alive) : alive_(alive) { ++*alive_; }
    ~Counted() override { --*alive_; }
    int* alive_;
};
struct Other : CeObject {};

// A CloseHandle on one thread while another still uses the object must not free it
// under that user; stale, forged and wrong-kind handles give nothing.
TEST(CeHandleTableTest, ObjectOutlivesCloseWhileInUseAndBadHandlesGiveNothing) {
    int alive = 0;
    HANDLE h = CeHandleTable::Insert(std::make_unique<Counted>(&alive));
    std::shared_ptr<Counted> inUse = CeHandleTable::Lookup<Counted>(h);
    EXPECT_TRUE(CeHandleTable::Close(h));
    EXPECT_EQ(alive, 1) << "freed while in use";
    inUse.reset();
    EXPECT_EQ(alive, 0) << "kept after its last user";

    HANDLE other = CeHandleTable::Insert(std::make_unique<Other>());
    EXPECT_EQ(CeHandleTable::Lookup<Counted>(reinterpret_cast<HANDLE>(uintptr_t{0x7})), nullptr);
    EXPECT_EQ(CeHandleTable::Lookup<Counted>(other), nullptr) << "another kind";
    EXPECT_TRUE(CeHandleTable::Close(other));
}

// Mutexes and registry keys name their files this way: every spelling that folds
// alike shares a file, others never do, and no name exceeds a file name's length.
TEST(CeSharedTextTest, SharedFileNamesFoldCaseAndStayShort) {
    EXPECT_EQ(CeSharedText::FileName(u"àb"), CeSharedText::FileName(u"ÀB"));
    const std::u16string longA(300, u'a'), longB = std::u16string(299, u'a') + u'b';
    EXPECT_LE(CeSharedText::FileName(longA).size(), 255u);
    EXPECT_NE(CeSharedText::FileName(longA), CeSharedText::FileName(longB));
    for (const std::u16string& name : {std::u16string(u"x/y"), longA})
        EXPECT_EQ(CeSharedText::FileName(name).find('/'), std::string::npos);
}

// The program's name places its default device root (made on first use) and its sockets; a
// name that could leave the data folder or break a socket name is refused and changes nothing.
TEST(CeProductTest, NamePlacesTheDeviceRootAndSocketsAndBadNamesAreRefused) {
    const char* bad[] = {nullptr, "",      ".hidden",
                         "a/b",   "Upper", "waytoolongwaytoolongwaytoolong-xyz"};
    for (const char* name : bad)
        EXPECT_FALSE(CeProduct::SetName(name)) << (name ? name : "(null)");
    EXPECT_EQ(CeProduct::Name(), CeProduct::kDefaultName);

    TestDeviceRoot outer;
    const char* xdg = getenv("XDG_DATA_HOME");
    const std::string savedXdg = xdg ? xdg : "";
    unsetenv("CE_DEVICE_ROOT"); // outer puts it back when it goes
    setenv("XDG_DATA_HOME", outer.Host("data").c_str(), 1);
    for (const char* name : {CeProduct::kDefaultName, "other-game.2"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(CeProduct::SetName(name));
        CePath::ResetForTests();
        const std::string device = std::string("data/") + name + "/device";
        EXPECT_EQ(CePath::DeviceRoot(), outer.Host(device));
        EXPECT_EQ(CeIpcChannel::SocketName(7, 1), std::string(name) + "-ce/7-0000000000000001");
    }
    ASSERT_TRUE(CeProduct::SetName(CeProduct::kDefaultName));
    if (xdg)
        setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

// Registered window messages: one number per name in any case, in 0xC000..0xFFFF, and the
// same for every caller of the device, also when they ask at once.
TEST(CeMessageNamesTest, SameNameSameNumberOtherNameOtherNumber) {
    TestDeviceRoot root;
    constexpr int kThreads = 8;
    UINT numbers[kThreads][2] = {};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &numbers] {
            std::u16string mine = u"Name" + std::u16string(1, static_cast<char16_t>(u'A' + t));
            numbers[t][0] = RegisterWindowMessageW(mine.c_str());
            numbers[t][1] = RegisterWindowMessageW(u"UsbNotifyMsgName");
        });
    }
    for (auto& t : threads)
        t.join();
    const UINT usb = numbers[0][1];
    std::set<UINT> distinct;
    for (int t = 0; t < kThreads; ++t) {
        distinct.insert(numbers[t][0]);
        EXPECT_EQ(numbers[t][1], usb);
    }
    distinct.insert(usb);
    EXPECT_EQ(distinct.size(), kThreads + 1u); // every name its own number
    EXPECT_GE(*distinct.begin(), 0xC000u);
    EXPECT_LE(*distinct.rbegin(), 0xFFFFu);
    EXPECT_EQ(RegisterWindowMessageW(u"USBNOTIFYMSGNAME"), usb);
    EXPECT_EQ(RegisterWindowMessageW(u""), 0u);
}

HANDLE MakeMutex(BOOL owned, const char16_t* name, DWORD error) {
    HANDLE h = CreateMutexW(nullptr, owned, name);
    EXPECT_NE(h, nullptr);
    EXPECT_EQ(GetLastError(), error);
    return h;
}

// Named mutexes within one process: a name shared between handles in any case and freed with
// its last handle, ownership by the creating thread only.
TEST(CeMutexTest, SecondHandleOfANameSeesItExisting) {
    TestDeviceRoot root;
    HANDLE first = MakeMutex(TRUE, u"Mole", ERROR_SUCCESS);
    HANDLE second = MakeMutex(TRUE, u"MOLE", ERROR_ALREADY_EXISTS); // exists: no ownership
    HANDLE other = MakeMutex(FALSE, u"Other", ERROR_SUCCESS);
    BOOL fromOther = TRUE;
    std::thread([&] { fromOther = ReleaseMutex(first); }).join();
    EXPECT_FALSE(fromOther);
    EXPECT_TRUE(ReleaseMutex(first));
    EXPECT_FALSE(ReleaseMutex(first)); // not owned any more
    EXPECT_FALSE(ReleaseMutex(other));
    EXPECT_FALSE(ReleaseMutex(nullptr) || ReleaseMutex(INVALID_HANDLE_VALUE));
    EXPECT_TRUE(CloseHandle(first) && CloseHandle(second) && CloseHandle(other));
    CloseHandle(MakeMutex(TRUE, u"Mole", ERROR_SUCCESS));
    // Unnamed mutexes never meet; an odd name is only a name, a too long one is refused.
    HANDLE a = MakeMutex(TRUE, nullptr, ERROR_SUCCESS);
    CloseHandle(MakeMutex(TRUE, nullptr, ERROR_SUCCESS));
    CloseHandle(a);
    CloseHandle(MakeMutex(TRUE, u"a/b\\..\\c:*?", ERROR_SUCCESS));
    EXPECT_EQ(CreateMutexW(nullptr, TRUE, std::u16string(MAX_PATH + 1, u'x').c_str()), nullptr);
}

// The registry under the device root: keys, values, the size protocol, files left by a crash.
class CeRegistryTest : public testing::Test {
protected:
    TestDeviceRoot root;
    HKEY Create(LPCWSTR path, DWORD* disposition = nullptr) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, disposition),
                  ERROR_SUCCESS);
        return key;
    }
    void SetDword(HKEY key, LPCWSTR name, DWORD v) {
        EXPECT_EQ(RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<BYTE*>(&v), 4),
                  ERROR_SUCCESS);
    }
    static LONG QueryDword(HKEY key, LPCWSTR name, DWORD& word) {
        DWORD size = 4;
        return RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&word), &size);
    }
};

TEST_F(CeRegistryTest, CreateOpenAndCloseKeys) {
    DWORD disposition = 0;
    HKEY created = Create(u"System\\State\\MiniOneShell", &disposition);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    EXPECT_EQ(RegCloseKey(created), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(created), ERROR_INVALID_HANDLE); // closed once only
    RegCloseKey(Create(u"\\system\\STATE\\minioneshell\\", &disposition));
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);

    const struct {
        HKEY root;
        const WCHAR* path;
        LONG expected;
    } opens[] = {
        {HKEY_LOCAL_MACHINE, u"System\\State", ERROR_SUCCESS},
        {HKEY_LOCAL_MACHINE, u"System\\State\\Missing", ERROR_FILE_NOT_FOUND},
        {HKEY_CURRENT_USER, u"System\\State\\MiniOneShell", ERROR_FILE_NOT_FOUND},
        {HKEY_LOCAL_MACHINE, u"System\\..\\..\\..\\etc", ERROR_FILE_NOT_FOUND},
        {HKEY_LOCAL_MACHINE, u"Bad\x0001Name", ERROR_INVALID_PARAMETER},
        {reinterpret_cast<HKEY>(0x1234), u"System", ERROR_INVALID_HANDLE},
    };
    for (const auto& o : opens) {
        HKEY key = reinterpret_cast<HKEY>(1);
        EXPECT_EQ(RegOpenKeyExW(o.root, o.path, 0, KEY_READ, &key), o.expected);
        EXPECT_EQ(key != nullptr, o.expected == ERROR_SUCCESS);
        RegCloseKey(key);
    }
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"System", 0, KEY_READ, nullptr),
              ERROR_INVALID_PARAMETER);

    // Values are replaced in any case, deleted, and seen through a second handle of the key.
    HKEY a = Create(u"Software\\Test");
    SetDword(a, u"Value", 1);
    SetDword(a, u"VALUE", 2);
    HKEY b = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Test", 0, KEY_READ, &b), ERROR_SUCCESS);
    DWORD word = 0;
    EXPECT_EQ(QueryDword(b, u"Value", word), ERROR_SUCCESS);
    EXPECT_EQ(word, 2u);
    EXPECT_EQ(RegDeleteValueW(a, u"value"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(a, u"value"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(QueryDword(b, u"Value", word), ERROR_FILE_NOT_FOUND);
    // Subkeys are made relative to an open key.
    HKEY sub = nullptr;
    ASSERT_EQ(RegCreateKeyExW(a, u"Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(sub);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Test\\Sub", 0, KEY_READ, &sub),
              ERROR_SUCCESS);
    for (HKEY key : {sub, a, b})
        RegCloseKey(key);
}

TEST_F(CeRegistryTest, QueryFollowsTheSizeProtocol) {
    HKEY key = Create(u"System\\State\\MiniOneShell");
    SetDword(key, u"IsLockState", 1);
    const BYTE eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(RegSetValueExW(key, u"Long", 0, REG_BINARY, eight, 8), ERROR_SUCCESS);

    const struct {
        const WCHAR* name;
        DWORD room;
        LONG rc;
        DWORD size;
        DWORD word;
    } cases[] = {
        {u"IsLockState", 4, ERROR_SUCCESS, 4, 1},    {u"islockstate", 8, ERROR_SUCCESS, 4, 1},
        {u"IsLockState", 3, ERROR_MORE_DATA, 4, 0},  {u"Long", 4, ERROR_MORE_DATA, 8, 0},
        {u"Missing", 4, ERROR_FILE_NOT_FOUND, 4, 0},
    };
    for (const auto& c : cases) {
        DWORD word = 0, size = c.room, type = 0;
        BYTE buf[8] = {};
        EXPECT_EQ(RegQueryValueExW(key, c.name, nullptr, &type, buf, &size), c.rc);
        EXPECT_EQ(size, c.size);
        std::memcpy(&word, buf, 4);
        EXPECT_EQ(word, c.word);
    }
    DWORD size = 0, type = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"Long", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(type, REG_BINARY);
    BYTE one = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"Long", nullptr, nullptr, &one, nullptr),
              ERROR_INVALID_PARAMETER);

    const std::string folder = ".ce/registry/hkey_local_machine/system/state/minioneshell/";
    // A writer that died before its rename leaves only a temporary file behind.
    root.Put(folder + ".values.tmp.99999", "registry 1\nhalf");
    DWORD word = 0;
    EXPECT_EQ(QueryDword(key, u"IsLockState", word), ERROR_SUCCESS);
    EXPECT_EQ(word, 1u);
    // A damaged file is never trusted, and the next write replaces it.
    root.Put(folder + ".values", "registry 1\n0049 4 zz\n");
    EXPECT_EQ(QueryDword(key, u"IsLockState", word), ERROR_FILE_NOT_FOUND);
    SetDword(key, u"IsLockState", 0);
    EXPECT_EQ(QueryDword(key, u"IsLockState", word), ERROR_SUCCESS);
    EXPECT_EQ(word, 0u);
    RegCloseKey(key);
}
// Value names of two letters: writer and value.
TEST_F(CeRegistryTest, ConcurrentWritersLoseNoValue) {
    constexpr int kWriters = 4, kEach = 10;
    RegCloseKey(Create(u"Software\\Busy"));
    std::vector<std::thread> writers;
    for (int t = 0; t < kWriters; ++t) {
        writers.emplace_back([t] {
            HKEY key = nullptr; // each writer with its own key handle, as separate callers
            RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Busy", 0, KEY_ALL_ACCESS, &key);
            for (int i = 0; i < kEach; ++i) {
                const char16_t name[] = {char16_t(u'A' + t), char16_t(u'a' + i), 0};
                DWORD v = static_cast<DWORD>(t * 100 + i);
                RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<BYTE*>(&v), 4);
            }
            RegCloseKey(key);
        });
    }
    for (auto& w : writers)
        w.join();
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Busy", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    for (int t = 0; t < kWriters; ++t) {
        for (int i = 0; i < kEach; ++i) {
            const char16_t name[] = {char16_t(u'A' + t), char16_t(u'a' + i), 0};
            DWORD v = 0;
            ASSERT_EQ(QueryDword(key, name, v), ERROR_SUCCESS) << t << "/" << i;
            EXPECT_EQ(v, static_cast<DWORD>(t * 100 + i));
        }
    }
    RegCloseKey(key);
}

} // namespace
