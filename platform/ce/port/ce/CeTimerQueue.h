// The window timers of the UI thread: one entry per (window, id), each with an
// absolute deadline on CeUiClock. Setting an existing id restarts it. A timer that
// is late gives one tick and its next deadline keeps the period's phase, so that
// it neither bursts nor drifts. While the queue is paused (the window minimized, the
// page hidden) time stands still for the timers: none is due, and on resume every
// deadline moves by the paused span, so each timer keeps the time it had left.
#pragma once

#include "ce/CePort.h"

#include "ce/CeTypes.h"

#include <cstdint>
#include <mutex>
#include <vector>

struct CeTimerTick {
    HWND hwnd;
    UINT_PTR id;
    TIMERPROC proc;
};

class CeTimerQueue {
public:
    static CeTimerQueue& Instance();

    // Returns the timer's id (a new one when hwnd is null), 0 on failure.
    UINT_PTR Set(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
    bool Kill(HWND hwnd, UINT_PTR id);
    // True when SetTimer registered proc for this window and id: the only timer
    // procedures that a WM_TIMER may call.
    bool Registered(HWND hwnd, UINT_PTR id, TIMERPROC proc);
    void KillAll(HWND hwnd);
    // Takes the earliest timer due at nowUs (ties in the order they were set) and
    // schedules its next deadline.
    bool PopDue(int64_t nowUs, HWND filter, CeTimerTick& tick); // filter null: any window
    int64_t NextDeadline();                                     // -1 when no timer runs
    size_t Count();
    void Clear();
    void SetPaused(bool paused); // idempotent
    bool Paused();

private:
    struct Entry {
        HWND hwnd;
        UINT_PTR id;
        int64_t intervalUs;
        int64_t deadlineUs;
        uint64_t order;
        TIMERPROC proc;
    };
    std::mutex lock_;
    std::vector<Entry> entries_;
    uint64_t nextOrder_ = 0;
    bool paused_ = false;
    int64_t pausedAtUs_ = 0;
    UINT_PTR nextThreadTimerId_ = 0x7F00;
};
