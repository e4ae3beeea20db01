// A served device is found by its class, opened by its bus name, and its codes reach its handler.
#include "ce/CeDeviceManager.h"
#include "ce/ce.h"
#include "testing/TestDeviceRoot.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
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

HANDLE Open(LPCWSTR bus) {
    return CreateFileW(bus, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
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

    HANDLE device = Open(u"tst1:");
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
    EXPECT_FALSE(DeviceIoControl(device, 2, in, 3, nullptr, 0, &returned, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    // Bad requests get clear results.
    EXPECT_FALSE(DeviceIoControl(device, 1, nullptr, 4, nullptr, 0, &returned, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(DeviceIoControl(reinterpret_cast<HANDLE>(0x4242), 1, nullptr, 0, nullptr, 0,
                                 &returned, nullptr));
    info.dwSize = sizeof info - 1;
    EXPECT_EQ(FindFirstDevice(DeviceSearchByGuid, &kClass, &info), INVALID_HANDLE_VALUE);
    info.dwSize = sizeof info;
    EXPECT_EQ(FindFirstDevice(DeviceSearchByGuid, nullptr, &info), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstDevice(DeviceSearchByGuid, &kClass, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstDevice(DeviceSearchByBusName, u"TST1:", &info), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(CeRegisterDevice(kClass, u"", Echo));
    EXPECT_FALSE(CeRegisterDevice(kClass, nullptr, Echo));

    EXPECT_TRUE(CloseHandle(device));
    EXPECT_FALSE(DeviceIoControl(device, 1, in, 3, out, 8, &returned, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_TRUE(CeUnregisterDevice(u"TST1:"));
    EXPECT_EQ(FindFirstDevice(DeviceSearchByGuid, &kClass, &info), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open(u"TST1:"), INVALID_HANDLE_VALUE);
}
} // namespace
