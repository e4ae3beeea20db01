// What a window or control takes of the input: nothing made before it appeared, nor
// within the guard asked for after that.
#pragma once

#include "ce/ce.h"
#include "mzfc/MzInputTime.h"

class MzInputGuard {
public:
    // From now when on screen, else from the next appearance; never shortens a guard.
    void Guard(DWORD ms, bool onScreen);
    void Appeared(); // starts the guard asked for meanwhile
    bool Takes(const MzInputTime& made) const { return made >= acceptFrom_; }

private:
    void HoldFromNow(DWORD ms);

    DWORD pendingMs_ = 0;      // counted from the next appearance
    MzInputTime acceptFrom_{}; // input made earlier is turned away
};
