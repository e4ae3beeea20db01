// The clock of the UI thread's timer queue, in microseconds. Real: the host's
// monotonic clock. Virtual (test mode): stands still until a test advances it.
#pragma once

#include <cstdint>

class CeUiClock {
public:
    static int64_t NowUs();
    static void SetVirtual(bool on); // turning it on starts the virtual clock at 0
    static bool IsVirtual();
    static void Advance(int64_t us); // virtual clock only
};
