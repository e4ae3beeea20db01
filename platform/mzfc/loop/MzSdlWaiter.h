// The loop waiter of a process with a desktop window: sleeps in SDL's event wait,
// so that desktop input, another thread's wake-up and the next timer all end it.
#pragma once

#include "windows/MzInside.h"

#include "ce/CeLoopWaiter.h"

#include <cstdint>

class MzSdlWaiter : public CeLoopWaiter {
public:
    void Wait(int timeoutMs) override;
    void Wake() override;
    static uint32_t WakeEventType();
};
