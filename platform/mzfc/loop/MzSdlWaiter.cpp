#include "loop/MzSdlWaiter.h"

#include <SDL.h>

uint32_t MzSdlWaiter::WakeEventType() {
    static const uint32_t type = SDL_RegisterEvents(1);
    return type;
}

void MzSdlWaiter::Wait(int timeoutMs) {
    // With a null event SDL leaves the event in its queue for the loop to read.
    if (timeoutMs < 0)
        SDL_WaitEvent(nullptr);
    else
        SDL_WaitEventTimeout(nullptr, timeoutMs);
}

void MzSdlWaiter::Wake() {
    SDL_Event e{};
    e.type = WakeEventType();
    SDL_PushEvent(&e);
}
