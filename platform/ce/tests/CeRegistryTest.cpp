// The registry under the device root: keys, values, the size protocol, files left by a crash.
#include "ce/ce.h"
#include "testing/TestDeviceRoot.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {
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
        {HKEY_LOCAL_MACHINE, u"SYSTEM\\state\\MINIONESHELL", ERROR_SUCCESS},
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

    std::string folder = root.Path() + "/.ce/registry/hkey_local_machine/system/state/minioneshell";
    // A writer that died before its rename leaves only a temporary file behind.
    std::ofstream(folder + "/.values.tmp.99999") << "registry 1\nhalf";
    DWORD word = 0;
    EXPECT_EQ(QueryDword(key, u"IsLockState", word), ERROR_SUCCESS);
    EXPECT_EQ(word, 1u);
    // A damaged file is never trusted, and the next write replaces it.
    std::ofstream(folder + "/.values", std::ios::trunc) << "registry 1\n0049 4 zz\n";
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
