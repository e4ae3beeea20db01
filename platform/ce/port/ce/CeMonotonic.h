// The host's monotonic clock, the one real clock every timer, trace and pacing step
// reads. Never virtual: the test mode's virtual time lives in CeTime.
#pragma once

#include "ce/CePort.h"

#include <cstdint>

class CeMonotonic {
public:
    static int64_t NowNs(); // nanoseconds since an arbitrary start
};
