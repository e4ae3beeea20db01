#include "ce/CeUiClock.h"

#include <atomic>
#include <ctime>

namespace {
std::atomic<bool> g_virtual{false};
std::atomic<int64_t> g_virtualUs{0};
} // namespace

int64_t CeUiClock::NowUs() {
    if (g_virtual.load())
        return g_virtualUs.load();
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

void CeUiClock::SetVirtual(bool on) {
    g_virtualUs = 0;
    g_virtual = on;
}

bool CeUiClock::IsVirtual() {
    return g_virtual.load();
}

void CeUiClock::Advance(int64_t us) {
    if (g_virtual.load() && us > 0)
        g_virtualUs += us;
}
