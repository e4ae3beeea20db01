#include "ce/CeHostSleep.h"

#include <emscripten.h>

void CeHostSleep::ForNs(int64_t ns) {
    if (ns <= 0)
        return;
    emscripten_sleep(static_cast<unsigned>((ns + 999999) / 1000000));
}
