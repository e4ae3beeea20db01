#include "ce/CeHostSleep.h"

#include <cerrno>
#include <ctime>

void CeHostSleep::ForNs(int64_t ns) {
    if (ns <= 0)
        return;
    timespec ts{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}
