#include "ce/CeTimerQueue.h"

#include "ce/CeUiClock.h"

#include <algorithm>

CeTimerQueue& CeTimerQueue::Instance() {
    static CeTimerQueue* queue = new CeTimerQueue; // timers may be killed during static teardown
    return *queue;
}

UINT_PTR CeTimerQueue::Set(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!hwnd)
        id = ++nextThreadTimerId_;
    const int64_t interval = static_cast<int64_t>(std::max<UINT>(elapseMs, 1)) * 1000;
    // A timer set while paused starts counting on resume.
    const int64_t deadline = (paused_ ? pausedAtUs_ : CeUiClock::NowUs()) + interval;
    for (Entry& e : entries_) {
        if (e.hwnd == hwnd && e.id == id) {
            e.intervalUs = interval;
            e.deadlineUs = deadline;
            e.order = nextOrder_++;
            e.proc = proc;
            return id;
        }
    }
    entries_.push_back(Entry{hwnd, id, interval, deadline, nextOrder_++, proc});
    return id;
}

bool CeTimerQueue::Kill(HWND hwnd, UINT_PTR id) {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.hwnd == hwnd && e.id == id; });
    if (it == entries_.end())
        return false;
    entries_.erase(it);
    return true;
}

bool CeTimerQueue::Registered(HWND hwnd, UINT_PTR id, TIMERPROC proc) {
    std::lock_guard<std::mutex> guard(lock_);
    return proc != nullptr && std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) {
               return e.hwnd == hwnd && e.id == id && e.proc == proc;
           });
}

void CeTimerQueue::KillAll(HWND hwnd) {
    std::lock_guard<std::mutex> guard(lock_);
    std::erase_if(entries_, [&](const Entry& e) { return e.hwnd == hwnd; });
}

bool CeTimerQueue::PopDue(int64_t nowUs, HWND filter, CeTimerTick& tick) {
    std::lock_guard<std::mutex> guard(lock_);
    if (paused_)
        return false;
    Entry* best = nullptr;
    for (Entry& e : entries_) {
        if (e.deadlineUs > nowUs || (filter && e.hwnd != filter))
            continue;
        if (!best || e.deadlineUs < best->deadlineUs ||
            (e.deadlineUs == best->deadlineUs && e.order < best->order))
            best = &e;
    }
    if (!best)
        return false;
    tick = CeTimerTick{best->hwnd, best->id, best->proc};
    // Keep the phase; skip the periods already missed instead of firing them all.
    int64_t next = best->deadlineUs + best->intervalUs;
    if (next <= nowUs)
        next += ((nowUs - next) / best->intervalUs + 1) * best->intervalUs;
    best->deadlineUs = next;
    return true;
}

int64_t CeTimerQueue::NextDeadline() {
    std::lock_guard<std::mutex> guard(lock_);
    if (paused_)
        return -1;
    int64_t best = -1;
    for (const Entry& e : entries_)
        if (best < 0 || e.deadlineUs < best)
            best = e.deadlineUs;
    return best;
}

size_t CeTimerQueue::Count() {
    std::lock_guard<std::mutex> guard(lock_);
    return entries_.size();
}

void CeTimerQueue::Clear() {
    std::lock_guard<std::mutex> guard(lock_);
    entries_.clear();
    paused_ = false;
}

void CeTimerQueue::SetPaused(bool paused) {
    std::lock_guard<std::mutex> guard(lock_);
    if (paused == paused_)
        return;
    paused_ = paused;
    const int64_t now = CeUiClock::NowUs();
    if (paused) {
        pausedAtUs_ = now;
        return;
    }
    const int64_t span = now - pausedAtUs_;
    for (Entry& e : entries_)
        e.deadlineUs += span;
}

bool CeTimerQueue::Paused() {
    std::lock_guard<std::mutex> guard(lock_);
    return paused_;
}
