// The message queue of the process's UI thread: posted messages, the quit flag,
// work handed over by other threads, and the due window timers.
//
// Other threads (e.g. the link to windows of other processes) may call Post,
// PostQuit and RunOnUiThread at any time: the entry is queued under a lock and the
// loop's waiter is woken. Everything else belongs to the UI thread.
#pragma once

#include "ce/CePort.h"

#include "ce/CeLoopWaiter.h"
#include "ce/CeTypes.h"

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class CeMessageQueue {
public:
    static CeMessageQueue& Instance();

    void Post(const MSG& msg);
    void PostQuit(int code);
    // Runs task on the UI thread the next time its loop looks at the queue.
    void RunOnUiThread(std::function<void()> task);
    // Runs task on the UI thread and waits for it at most timeoutMs (negative: no
    // limit); on the UI thread itself it runs at once. False when it timed out (the
    // task may still run later).
    bool InvokeOnUiThread(std::function<void()> task, int timeoutMs);

    // Posted messages first, then the quit message, then a due timer (WM_TIMER,
    // lParam = the TIMERPROC or 0). Runs handed-over tasks first.
    bool Peek(MSG* msg, HWND filter, UINT min, UINT max, bool remove);
    // The two halves of Peek, for a loop that reads input between them.
    bool PeekQueued(MSG* msg, HWND filter, UINT min, UINT max, bool remove);
    bool PeekTimer(MSG* msg, HWND filter, UINT min, UINT max, bool remove);
    // Blocks until something is posted, a waiter wake-up, or the next timer deadline.
    void WaitForWork();
    bool HasWork();

    // GetMessageW hands out posted messages, then input, then a due timer, and runs
    // the idle hook only when nothing at all waits. The input hook (the UI framework
    // reads desktop input and paints there) runs when nothing is posted, so that a
    // timer that is always due cannot starve input; the idle hook runs test steps.
    // Each returns true when it did something (the loop then looks again).
    void SetInputHook(std::function<bool()> hook);
    bool RunInputHook();
    void SetIdleHook(std::function<bool()> hook);
    bool RunIdleHook();

    void SetWaiter(CeLoopWaiter* waiter); // null: the default condition waiter
    bool IsUiThread() const;
    void Reset(); // drops posted messages, tasks, the quit flag and every timer

private:
    CeMessageQueue();
    void RunTasks();
    CeLoopWaiter* Waiter();
    bool RunHook(std::function<bool()> CeMessageQueue::*slot);

    mutable std::mutex lock_;
    std::deque<MSG> posted_;
    std::deque<std::function<void()>> tasks_;
    bool quit_ = false;
    int quitCode_ = 0;
    CeLoopWaiter* waiter_ = nullptr;
    std::unique_ptr<CeLoopWaiter> defaultWaiter_;
    std::thread::id uiThread_;
    std::function<bool()> inputHook_;
    std::function<bool()> idleHook_;
};
