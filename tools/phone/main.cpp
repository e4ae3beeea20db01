// phone: plays the phone's outside components (the shell's main window, the USB
// function driver, the shell's lock flag) for the device root in CE_DEVICE_ROOT.
#include "PhoneCommands.h"
#include "PhoneShell.h"
#include "PhoneSignals.h"
#include "PhoneUsbDriver.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
const char kHelp[] =
    "usage: phone <command> [arguments]\n"
    "\n"
    "Plays the phone around the game, on the device root named by CE_DEVICE_ROOT\n"
    "(else $XDG_DATA_HOME/burrowbop/device or ~/.local/share/burrowbop/device).\n"
    "\n"
    "commands:\n"
    "  shell [--hang] [--modal]\n"
    "                     run the shell's main window (class \"CShellMainWnd\"); logs\n"
    "                     each command message (wParam, lParam) and answers it;\n"
    "                     --hang: take commands but never answer;\n"
    "                     --modal: serve from inside a nested (modal) message loop\n"
    "  usb-driver         run the USB function driver; it takes the game's message\n"
    "                     number through control code 0x0022019C\n"
    "  usb connect        make the running driver post its message, wParam 0, to\n"
    "                     every top-level window (the game quits on it)\n"
    "  usb notify N       the same with wParam N\n"
    "  lock on|off|clear  set or remove the shell's lock flag \"IsLockState\"\n"
    "  status             windows by class and process, devices, lock state\n"
    "  mutex NAME [--gate]  take a named mutex, print \"new\" or \"exists\", hold it\n"
    "                     until stdin ends; --gate: first wait for a line on stdin\n"
    "  --help             this text\n"
    "\n"
    "shell and usb-driver run until interrupted (Ctrl-C or SIGTERM).\n";

int Usage() {
    std::fputs(kHelp, stderr);
    return 2;
}

bool ParseNumber(const std::string& text, unsigned long& value) {
    if (text.empty() || text.size() > 10)
        return false;
    char* end = nullptr;
    value = std::strtoul(text.c_str(), &end, 0);
    return *end == 0 && value <= 0xFFFFFFFFul;
}
} // namespace

int main(int argc, char** argv) {
    // The stop signals are taken over only by the commands that run until stopped;
    // every other command ends on them at once, wherever it waits.
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return Usage();
    const std::string& cmd = args[0];
    if (cmd == "--help" || cmd == "-h" || cmd == "help") {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (cmd == "shell") {
        bool hang = false, modal = false;
        for (size_t i = 1; i < args.size(); ++i) {
            if (args[i] == "--hang")
                hang = true;
            else if (args[i] == "--modal")
                modal = true;
            else
                return Usage();
        }
        PhoneSignals::Block();
        PhoneShell shell(hang, modal);
        return shell.Run();
    }
    if (cmd == "usb-driver" && args.size() == 1) {
        PhoneSignals::Block();
        PhoneUsbDriver driver;
        return driver.Serve();
    }
    if (cmd == "usb" && args.size() == 2 && args[1] == "connect")
        return PhoneUsbDriver::Notify(0);
    if (cmd == "usb" && args.size() == 3 && args[1] == "notify") {
        unsigned long value = 0;
        if (!ParseNumber(args[2], value))
            return Usage();
        return PhoneUsbDriver::Notify(static_cast<DWORD>(value));
    }
    if (cmd == "lock" && args.size() == 2)
        return PhoneCommands::Lock(args[1]);
    if (cmd == "status" && args.size() == 1)
        return PhoneCommands::Status();
    if (cmd == "mutex" && (args.size() == 2 || (args.size() == 3 && args[2] == "--gate"))) {
        PhoneSignals::Block();
        return PhoneCommands::Mutex(args[1], args.size() == 3);
    }
    return Usage();
}
