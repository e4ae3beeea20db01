// The clock of the UI thread's timer queue, in microseconds. Real: the host's
// monotonic clock. Virtual (test mode): the CE virtual clock, which stands still
// until a test advances it (in whole milliseconds).
#pragma once

#include "ce/CePort.h"

#include <cstdint>

class CeUiClock {
public:
    static int64_t NowUs();
    static void SetVirtual(bool on);
    static bool IsVirtual();
    static void Advance(int64_t us); // virtual clock only
};
