#include "windows/CeConditionWaiter.h"

#include <chrono>

void CeConditionWaiter::Wait(int timeoutMs) {
    std::unique_lock<std::mutex> guard(lock_);
    if (timeoutMs < 0)
        cv_.wait(guard, [this] { return woken_; });
    else
        cv_.wait_for(guard, std::chrono::milliseconds(timeoutMs), [this] { return woken_; });
    woken_ = false;
}

void CeConditionWaiter::Wake() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        woken_ = true;
    }
    cv_.notify_one();
}
