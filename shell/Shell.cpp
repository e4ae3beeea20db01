#include "shell/Shell.h"

using namespace ShellProtocol;

HANDLE OpenUsbFunctionDevice() {
    GUID usbFunctionClass = kUsbFunctionClass;
    DEVMGR_DEVICE_INFORMATION info = {};
    info.dwSize = sizeof info;
    HANDLE search = FindFirstDevice(DeviceSearchByGuid, &usbFunctionClass, &info);
    if (search == INVALID_HANDLE_VALUE)
        return INVALID_HANDLE_VALUE;
    HANDLE device = CreateFileW(info.szBusName, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    FindClose(search);
    return device;
}

DWORD RegisterUsbNotifyMessage() {
    DWORD message = RegisterWindowMessageW(kUsbNotifyMessageName);
    HANDLE device = OpenUsbFunctionDevice();
    if (device == INVALID_HANDLE_VALUE)
        return 0xFFFFFFFF;
    DWORD returned = 0;
    DeviceIoControl(device, kUsbSetNotifyMessage, &message, 4, nullptr, 0, &returned, nullptr);
    CloseHandle(device);
    return message;
}

LRESULT NotifyShellMainWnd(WPARAM wParam, LPARAM lParam) {
    HWND shell = FindWindowW(kWindowClass, nullptr);
    if (shell == nullptr)
        return 0;
    DWORD_PTR result = 0;
    return SendMessageTimeout(shell, kCommand, wParam, lParam, SMTO_NORMAL, kCommandTimeoutMs,
                              &result);
}

bool IsPhoneLocked() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kLockKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    if (key == nullptr)
        return false;
    DWORD word = 0;
    DWORD size = 4;
    bool locked = RegQueryValueExW(key, kLockValue, nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(&word), &size) == ERROR_SUCCESS &&
                  word != 0;
    RegCloseKey(key);
    return locked;
}
