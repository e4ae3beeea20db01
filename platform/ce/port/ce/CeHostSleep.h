// How the UI thread sleeps for a moment (Sleep, the display's pacing). On the desktop
// the thread sleeps; in a page it hands control back to the browser for that long,
// so that the frames drawn so far are shown and input is taken.
#pragma once

#include "ce/CePort.h"

#include <cstdint>

class CeHostSleep {
public:
    static void ForNs(int64_t ns); // ns <= 0 returns at once
};
