// `phone usb-driver` and `phone usb ...`: the USB function driver. It serves the
// device class of the USB function driver, takes the game's message number through
// control code 0x0022019C, and on `phone usb connect` (or `notify N`) posts that
// message to every top-level window of the device.
#pragma once

#include "PhoneUiQueue.h"
#include "ce/ce.h"
#include "shell/Shell.h"

#include <atomic>

class PhoneUsbDriver {
public:
    static constexpr DWORD kSetMessage = ShellProtocol::kUsbSetNotifyMessage;
    // The tool's own codes, from the range left to drivers.
    static constexpr DWORD kNotify = CTL_CODE(0x22, 0x800, METHOD_BUFFERED, FILE_ANY_ACCESS);
    static constexpr DWORD kQuery = CTL_CODE(0x22, 0x801, METHOD_BUFFERED, FILE_ANY_ACCESS);
    static constexpr const WCHAR* kBusName = u"UFN1:";

    int Serve(); // until a stop signal
    // Asks the running driver to post its message with wParam; prints the outcome.
    static int Notify(DWORD wParam);
    // The message number the running driver holds: 0 none yet; false: no driver.
    static bool Query(DWORD& number);

private:
    BOOL Handle(DWORD code, const std::vector<BYTE>& in, std::vector<BYTE>& out);
    PhoneUiQueue queue_;
    std::atomic<DWORD> message_{0};
};
