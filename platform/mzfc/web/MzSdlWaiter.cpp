// The loop waiter in a page: the wait hands control back to the browser until SDL
// takes an event (input, the tab shown or hidden, a wake-up) or the next timer is
// due, so an idle page costs nothing and draws what the loop presented. There is only
// one thread, so an event can arrive only while the loop waits or sleeps; one that
// arrives while it sleeps makes the next wait return at once.
#include "loop/MzSdlWaiter.h"

#include <SDL.h>
#include <emscripten.h>

namespace {

// clang-format off
EM_JS(void, mz_web_wake, (), {
    var w = Module['mzWaiter'] || (Module['mzWaiter'] = {});
    if (w.resume) {
        var resume = w.resume;
        w.resume = null;
        resume();
    } else {
        w.woken = true;
    }
});
// clang-format on

// clang-format off
EM_ASYNC_JS(void, mz_web_wait, (int timeoutMs), {
    var w = Module['mzWaiter'] || (Module['mzWaiter'] = {});
    if (w.woken) {
        w.woken = false;
        return;
    }
    await new Promise(function(resolve) {
        var timer = null;
        w.resume = function() {
            if (timer !== null)
                clearTimeout(timer);
            resolve();
        };
        if (timeoutMs >= 0)
            timer = setTimeout(function() { w.resume = null; resolve(); }, timeoutMs);
    });
});
// clang-format on

// SDL marks each poll with a sentinel event of its own: no reason to wake.
bool Wakes(uint32_t type) {
    return type != SDL_POLLSENTINEL;
}

int OnEvent(void*, SDL_Event* e) {
    if (Wakes(e->type))
        mz_web_wake(); // the loop resumes once SDL's own handler has returned
    return 1;
}

} // namespace

uint32_t MzSdlWaiter::WakeEventType() {
    static const uint32_t type = [] {
        SDL_AddEventWatch(&OnEvent, nullptr);
        return SDL_RegisterEvents(1);
    }();
    return type;
}

void MzSdlWaiter::Wait(int timeoutMs) {
    if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_POLLSENTINEL - 1) ||
        SDL_HasEvents(SDL_POLLSENTINEL + 1, SDL_LASTEVENT))
        return;
    mz_web_wait(timeoutMs);
}

void MzSdlWaiter::Wake() {
    mz_web_wake();
}
