#include "PhoneCommands.h"

#include "PhoneSignals.h"
#include "PhoneUsbDriver.h"
#include "ce/CePrintable.h"
#include "ce/CeRemoteWindowClient.h"
#include "ce/CeSharedDir.h"
#include "ce/CeUtf16.h"
#include "ce/ce.h"
#include "shell/ShellProtocol.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using ShellProtocol::kLockKey;
using ShellProtocol::kLockValue;

int PhoneCommands::Lock(const std::string& state) {
    if (state != "on" && state != "off" && state != "clear") {
        std::fprintf(stderr, "phone lock: say on, off or clear\n");
        return 2;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kLockKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        std::fprintf(stderr, "phone lock: cannot open the registry of the device\n");
        return 1;
    }
    LONG rc;
    if (state == "clear") {
        rc = RegDeleteValueW(key, kLockValue);
        if (rc == ERROR_FILE_NOT_FOUND)
            rc = ERROR_SUCCESS;
    } else {
        DWORD value = state == "on" ? 1 : 0;
        rc = RegSetValueExW(key, kLockValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                            sizeof value);
    }
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) {
        std::fprintf(stderr, "phone lock: cannot write the lock flag\n");
        return 1;
    }
    std::printf("lock: %s\n", state.c_str());
    return 0;
}

int PhoneCommands::Status() {
    std::printf("device root: %s\n", CePrintable::Escape(CeSharedDir::Root()).c_str());
    auto windows = CeRemoteWindowClient::List();
    std::printf("windows: %zu\n", windows.size());
    for (const auto& w : windows)
        std::printf("  %-20s \"%s\" pid %d\n", CePrintable::Escape(w.className).c_str(),
                    CePrintable::Escape(w.title).c_str(), w.pid); // a peer's words: never raw
    DWORD number = 0;
    if (PhoneUsbDriver::Query(number)) {
        if (number != 0)
            std::printf("usb function driver: running, message number 0x%X\n", number);
        else
            std::printf("usb function driver: running, no message number yet\n");
    } else {
        std::printf("usb function driver: not running\n");
    }
    HKEY key = nullptr;
    const char* lock = "not set";
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kLockKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        DWORD value = 0, size = 4;
        LONG rc = RegQueryValueExW(key, kLockValue, nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(&value), &size);
        if (rc == ERROR_SUCCESS)
            lock = value != 0 ? "on" : "off";
        else if (rc == ERROR_MORE_DATA)
            lock = "unreadable (longer than 4 bytes)";
        RegCloseKey(key);
    }
    std::printf("lock: %s\n", lock);
    return 0;
}

int PhoneCommands::Mutex(const std::string& name, bool gate) {
    char line[64];
    if (gate && std::fgets(line, sizeof line, stdin) == nullptr)
        return 1;
    std::u16string wide = CeUtf16::FromUtf8(name);
    HANDLE h = CreateMutexW(nullptr, TRUE, wide.c_str());
    DWORD error = GetLastError();
    if (h == nullptr) {
        std::printf("failed %u\n", error);
        return 1;
    }
    std::printf("%s\n", error == ERROR_ALREADY_EXISTS ? "exists" : "new");
    std::fflush(stdout);
    PhoneSignals::OnStop([] { std::_Exit(0); });
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
    }
    CloseHandle(h);
    return 0;
}
