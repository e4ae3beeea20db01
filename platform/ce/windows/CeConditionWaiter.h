// The default loop waiter: a condition variable with a sticky wake flag.
#pragma once

#include "core/CeInside.h"

#include "ce/CeLoopWaiter.h"

#include <condition_variable>
#include <mutex>

class CeConditionWaiter : public CeLoopWaiter {
public:
    void Wait(int timeoutMs) override;
    void Wake() override;

private:
    std::mutex lock_;
    std::condition_variable cv_;
    bool woken_ = false;
};
