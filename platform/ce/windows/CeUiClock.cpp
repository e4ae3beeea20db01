#include "ce/CeUiClock.h"

#include "ce/CeMonotonic.h"
#include "ce/CeTime.h"

// Virtual time is the CE clock's (GetTickCount), so that the program's view of time
// and the timers' agree in tests.
int64_t CeUiClock::NowUs() {
    if (CeClockIsVirtual())
        return static_cast<int64_t>(GetTickCount()) * 1000;
    return CeMonotonic::NowNs() / 1000;
}

void CeUiClock::SetVirtual(bool on) {
    CeClockSetVirtual(on);
}

bool CeUiClock::IsVirtual() {
    return CeClockIsVirtual();
}

void CeUiClock::Advance(int64_t us) {
    if (us > 0)
        CeClockAdvance(static_cast<DWORD>((us + 999) / 1000));
}
