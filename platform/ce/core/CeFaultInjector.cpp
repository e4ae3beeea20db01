#include "ce/CeFaultInjector.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {
std::atomic<unsigned> armedOps{0};
std::atomic<int> failAt{0};
std::atomic<int> calls{0};
std::atomic<bool> syncEnabled{true};
std::atomic<int> syncDelayMs{0};
} // namespace

void CeFaultInjector::Arm(unsigned ops, int nth) {
    calls = 0;
    failAt = nth;
    armedOps = ops;
}

void CeFaultInjector::Disarm() {
    armedOps = 0;
    failAt = 0;
}

int CeFaultInjector::Calls() {
    return calls;
}

bool CeFaultInjector::Hit(Op op) {
    if ((armedOps.load(std::memory_order_relaxed) & op) == 0)
        return false;
    int n = ++calls;
    return n == failAt.load();
}

void CeFaultInjector::SetSyncEnabled(bool on) {
    syncEnabled = on;
}

bool CeFaultInjector::SyncEnabled() {
    return syncEnabled;
}

void CeFaultInjector::SetSyncDelayMs(int ms) {
    syncDelayMs = ms;
}

void CeFaultInjector::BeforeSync() {
    if (const int ms = syncDelayMs.load(); ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
