#include "loop/MzInputQueue.h"

#include "ce/CeUiClock.h"
#include "loop/MzSdlWaiter.h"
#include "windows/MzFramework.h"

#include <SDL.h>

#include <deque>

namespace {
struct Stamped {
    SDL_Event event;
    MzInputTime made;
};
std::deque<Stamped> g_queue;
uint64_t g_order = 0;
} // namespace

MzInputTime MzInputQueue::Now() {
    return MzInputTime{CeUiClock::NowUs(), ++g_order};
}

MzInputTime MzInputQueue::Mark() {
    Gather();
    return Now();
}

bool MzInputQueue::Gather() {
    if (!MzFramework::HasVideo())
        return false;
    bool any = false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        any = true;
        if (e.type != MzSdlWaiter::WakeEventType())
            g_queue.push_back(Stamped{e, Now()});
    }
    return any;
}

void MzInputQueue::Push(const SDL_Event& event) {
    g_queue.push_back(Stamped{event, Now()});
}

bool MzInputQueue::Drain(const std::function<void(const SDL_Event&, MzInputTime)>& handle) {
    bool any = false;
    while (!g_queue.empty()) { // a handler may gather more, or drain in a nested loop
        const Stamped next = g_queue.front();
        g_queue.pop_front();
        any = true;
        handle(next.event, next.made);
    }
    return any;
}

void MzInputQueue::Clear() {
    g_queue.clear();
}
