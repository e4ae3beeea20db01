// How the UI thread sleeps when its message loop has nothing to do, and how another
// thread wakes it. The message queue owns one waiter: by default a condition variable
// (processes without a screen, e.g. a simulator tool); the UI framework installs one
// that also wakes on window-system events.
#pragma once

#include "ce/CePort.h"

class CeLoopWaiter {
public:
    virtual ~CeLoopWaiter() = default;
    // Blocks for at most timeoutMs (negative: no limit); returns early after Wake.
    virtual void Wait(int timeoutMs) = 0;
    // Any thread. A Wake before the next Wait makes that Wait return at once.
    virtual void Wake() = 0;
};
