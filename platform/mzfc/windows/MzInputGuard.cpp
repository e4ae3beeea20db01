#include "mzfc/MzInputGuard.h"

#include "loop/MzInputQueue.h"

#include <algorithm>

void MzInputGuard::Guard(DWORD ms, bool onScreen) {
    if (onScreen)
        HoldFromNow(ms);
    else
        pendingMs_ = ms;
}

void MzInputGuard::Appeared() {
    HoldFromNow(pendingMs_);
    pendingMs_ = 0;
}

void MzInputGuard::HoldFromNow(DWORD ms) {
    acceptFrom_ = std::max(acceptFrom_, MzInputTime::After(MzInputQueue::Mark(), ms));
}
