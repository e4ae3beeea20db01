#include "PhoneUsbDriver.h"

#include "PhoneSignals.h"
#include "ce/CeDeviceManager.h"
#include "ce/CeRemoteWindowLink.h"
#include "shell/Shell.h"

#include <cstdio>
#include <cstring>
#include <future>

namespace {
constexpr DWORD kErrorNotReady = 21;
}

int PhoneUsbDriver::Serve() {
    PhoneSignals::OnStop([this] { queue_.Quit(); });
    CeRemoteWindowLink::Install(); // its posts reach the windows of every process
    bool ok =
        CeRegisterDevice(ShellProtocol::kUsbFunctionClass, kBusName,
                         [this](DWORD code, const std::vector<BYTE>& in, std::vector<BYTE>& out,
                                DWORD) { return Handle(code, in, out); });
    if (!ok) {
        std::fprintf(stderr, "phone usb-driver: the USB function driver already runs\n");
        return 1;
    }
    std::printf("usb-driver: ready\n");
    std::fflush(stdout);
    queue_.Loop();
    CeUnregisterDevice(kBusName);
    return 0;
}

BOOL PhoneUsbDriver::Handle(DWORD code, const std::vector<BYTE>& in, std::vector<BYTE>& out) {
    DWORD value = 0;
    if (code == kQuery) {
        value = message_.load();
        out.resize(4);
        std::memcpy(out.data(), &value, 4);
        return TRUE;
    }
    if ((code != kSetMessage && code != kNotify) || in.size() != 4) {
        SetLastError(code == kSetMessage || code == kNotify ? ERROR_INVALID_PARAMETER
                                                            : ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    std::memcpy(&value, in.data(), 4);
    if (code == kSetMessage) {
        message_.store(value);
        std::printf("usb-driver: message number 0x%X\n", value);
        std::fflush(stdout);
        return TRUE;
    }
    DWORD message = message_.load();
    if (message == 0) {
        SetLastError(kErrorNotReady);
        return FALSE;
    }
    // Posted from the driver's own thread, as the phone's driver does.
    auto posted = std::make_shared<std::promise<BOOL>>();
    auto result = posted->get_future();
    queue_.Run([posted, message, value] {
        posted->set_value(PostMessageW(HWND_BROADCAST, message, value, 0));
    });
    BOOL ok = FALSE;
    try {
        ok = result.get();
    } catch (const std::future_error&) {
        return FALSE; // the driver is stopping
    }
    std::printf("usb-driver: posted 0x%X wParam=%u to every window\n", message, value);
    std::fflush(stdout);
    return ok;
}

int PhoneUsbDriver::Notify(DWORD wParam) {
    HANDLE device = OpenUsbFunctionDevice();
    if (device == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "phone usb: no USB function driver runs (start `phone usb-driver`)\n");
        return 1;
    }
    DWORD returned = 0;
    BOOL ok = DeviceIoControl(device, kNotify, &wParam, 4, nullptr, 0, &returned, nullptr);
    DWORD error = GetLastError();
    CloseHandle(device);
    if (!ok) {
        std::fprintf(stderr,
                     error == kErrorNotReady
                         ? "phone usb: the driver has no message number yet, or does not answer\n"
                         : "phone usb: the driver refused the request\n");
        return 1;
    }
    std::printf("usb: notified wParam=%u\n", wParam);
    return 0;
}

bool PhoneUsbDriver::Query(DWORD& number) {
    number = 0;
    HANDLE device = OpenUsbFunctionDevice();
    if (device == INVALID_HANDLE_VALUE)
        return false;
    DWORD returned = 0;
    BOOL ok = DeviceIoControl(device, kQuery, nullptr, 0, &number, 4, &returned, nullptr);
    CloseHandle(device);
    return ok && returned == 4;
}
