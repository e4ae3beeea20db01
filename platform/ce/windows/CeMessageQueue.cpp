#include "ce/CeMessageQueue.h"

#include "ce/CeTimerQueue.h"
#include "ce/CeUiClock.h"
#include "windows/CeConditionWaiter.h"

#include <condition_variable>

CeMessageQueue& CeMessageQueue::Instance() {
    static CeMessageQueue* queue = new CeMessageQueue; // may be posted to during teardown
    return *queue;
}

CeMessageQueue::CeMessageQueue()
    : defaultWaiter_(std::make_unique<CeConditionWaiter>()), uiThread_(std::this_thread::get_id()) {
}

CeLoopWaiter* CeMessageQueue::Waiter() {
    std::lock_guard<std::mutex> guard(lock_);
    return waiter_ ? waiter_ : defaultWaiter_.get();
}

void CeMessageQueue::SetWaiter(CeLoopWaiter* waiter) {
    std::lock_guard<std::mutex> guard(lock_);
    waiter_ = waiter;
}

bool CeMessageQueue::IsUiThread() const {
    std::lock_guard<std::mutex> guard(lock_);
    return uiThread_ == std::this_thread::get_id();
}

void CeMessageQueue::Post(const MSG& msg) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        posted_.push_back(msg);
    }
    if (!IsUiThread())
        Waiter()->Wake();
}

void CeMessageQueue::PostQuit(int code) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        quit_ = true;
        quitCode_ = code;
    }
    if (!IsUiThread())
        Waiter()->Wake();
}

void CeMessageQueue::RunOnUiThread(std::function<void()> task) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        tasks_.push_back(std::move(task));
    }
    if (!IsUiThread())
        Waiter()->Wake();
}

bool CeMessageQueue::InvokeOnUiThread(std::function<void()> task, int timeoutMs) {
    if (IsUiThread()) {
        task();
        return true;
    }
    struct Done {
        std::mutex lock;
        std::condition_variable cv;
        bool done = false;
    };
    auto done = std::make_shared<Done>();
    RunOnUiThread([task = std::move(task), done] {
        task();
        std::lock_guard<std::mutex> guard(done->lock);
        done->done = true;
        done->cv.notify_all();
    });
    std::unique_lock<std::mutex> guard(done->lock);
    if (timeoutMs < 0) {
        done->cv.wait(guard, [&] { return done->done; });
        return true;
    }
    return done->cv.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                             [&] { return done->done; });
}

void CeMessageQueue::RunTasks() {
    for (;;) {
        std::function<void()> task;
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (tasks_.empty())
                return;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
}

static bool InRange(UINT message, UINT min, UINT max) {
    return (min == 0 && max == 0) || (message >= min && message <= max);
}

bool CeMessageQueue::Peek(MSG* msg, HWND filter, UINT min, UINT max, bool remove) {
    return PeekQueued(msg, filter, min, max, remove) || PeekTimer(msg, filter, min, max, remove);
}

bool CeMessageQueue::PeekQueued(MSG* msg, HWND filter, UINT min, UINT max, bool remove) {
    RunTasks();
    {
        std::lock_guard<std::mutex> guard(lock_);
        for (auto it = posted_.begin(); it != posted_.end(); ++it) {
            if ((filter && it->hwnd != filter) || !InRange(it->message, min, max))
                continue;
            *msg = *it;
            if (remove)
                posted_.erase(it);
            return true;
        }
        if (quit_ && InRange(WM_QUIT, min, max)) {
            *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(quitCode_), 0, 0, {0, 0}};
            if (remove)
                quit_ = false;
            return true;
        }
    }
    return false;
}

bool CeMessageQueue::PeekTimer(MSG* msg, HWND filter, UINT min, UINT max, bool remove) {
    if (!InRange(WM_TIMER, min, max))
        return false;
    const int64_t now = CeUiClock::NowUs();
    CeTimerTick tick{};
    CeTimerQueue& timers = CeTimerQueue::Instance();
    if (!remove) {
        int64_t next = timers.NextDeadline();
        if (next < 0 || next > now)
            return false;
        // A peek without removal reports the tick but leaves the timer due.
        *msg = MSG{nullptr, WM_TIMER, 0, 0, static_cast<DWORD>(now / 1000), {0, 0}};
        return true;
    }
    if (!timers.PopDue(now, filter, tick))
        return false;
    *msg = MSG{tick.hwnd,
               WM_TIMER,
               tick.id,
               reinterpret_cast<LPARAM>(tick.proc),
               static_cast<DWORD>(now / 1000),
               {0, 0}};
    return true;
}

bool CeMessageQueue::HasWork() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (!posted_.empty() || !tasks_.empty() || quit_)
            return true;
    }
    int64_t next = CeTimerQueue::Instance().NextDeadline();
    return next >= 0 && next <= CeUiClock::NowUs();
}

void CeMessageQueue::WaitForWork() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        uiThread_ = std::this_thread::get_id();
    }
    if (HasWork())
        return;
    int timeoutMs = -1;
    int64_t next = CeTimerQueue::Instance().NextDeadline();
    if (next >= 0 && !CeUiClock::IsVirtual()) {
        int64_t remaining = next - CeUiClock::NowUs();
        timeoutMs = remaining <= 0 ? 0 : static_cast<int>((remaining + 999) / 1000);
    }
    Waiter()->Wait(timeoutMs);
}

void CeMessageQueue::Reset() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        posted_.clear();
        tasks_.clear();
        quit_ = false;
        quitCode_ = 0;
    }
    CeTimerQueue::Instance().Clear();
}

void CeMessageQueue::SetInputHook(std::function<bool()> hook) {
    std::lock_guard<std::mutex> guard(lock_);
    inputHook_ = std::move(hook);
}

bool CeMessageQueue::RunInputHook() {
    return RunHook(&CeMessageQueue::inputHook_);
}

void CeMessageQueue::SetIdleHook(std::function<bool()> hook) {
    std::lock_guard<std::mutex> guard(lock_);
    idleHook_ = std::move(hook);
}

bool CeMessageQueue::RunIdleHook() {
    return RunHook(&CeMessageQueue::idleHook_);
}

// The hook runs outside the lock: it may post, peek or set hooks itself.
bool CeMessageQueue::RunHook(std::function<bool()> CeMessageQueue::*slot) {
    std::function<bool()> hook;
    {
        std::lock_guard<std::mutex> guard(lock_);
        hook = this->*slot;
    }
    return hook && hook();
}
