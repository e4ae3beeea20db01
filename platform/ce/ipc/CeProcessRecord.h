// What each process of the device offers the others: its top-level windows and the
// devices it serves, in <device root>/.ce/procs/<pid>-<token>.rec. The process holds
// an flock on the matching .lock file for its whole life; a record whose lock is free
// belongs to a dead process and is removed by whoever finds it.
#pragma once

#include "core/CeInside.h"

#include "ce/CeTypes.h"

#include <string>
#include <vector>

class CeProcessRecord {
public:
    struct Window {
        uint64_t hwnd = 0;  // the window as its own process knows it
        uint64_t order = 0; // newer windows are found first
        std::u16string className;
        std::u16string title;
    };
    struct Device {
        GUID guid{};
        std::u16string busName;
        std::u16string deviceName;
    };
    struct Entry {
        int pid = 0;
        uint64_t token = 0;
        std::vector<Window> windows;
        std::vector<Device> devices;
        std::string SocketName() const;
    };

    static uint64_t Token(); // random, fixed for this process
    // Replace this process's list of windows or devices and rewrite its record
    // (starting the request listener first, so a listed item can always be reached).
    static bool SetWindows(const std::vector<Window>& windows);
    static bool SetDevices(const std::vector<Device>& devices);
    // The records of living processes; dead ones are cleaned on the way.
    static std::vector<Entry> Live(bool includeSelf);
    static bool SameGuid(const GUID& a, const GUID& b);

private:
    static bool Write();
};
