// The desktop's input, each event stamped with when it was made (at the latest). While
// a handler runs (a synchronous slide, a modal loop's set-up) events wait here; every
// moment that something appears on screen first gathers what is pending, so input made
// before that moment is stamped before it, and a window or control that appeared
// later can turn it away. Test mode queues its events here the same way.
#pragma once

#include "windows/MzInside.h"

#include "mzfc/MzInputTime.h"

#include <functional>

union SDL_Event;

class MzInputQueue {
public:
    static MzInputTime Now();  // a new moment of the UI clock, after every earlier one
    static MzInputTime Mark(); // gathers the pending desktop input, then Now()
    static bool Gather();      // true when some desktop event was pending
    static void Push(const SDL_Event& event); // made now
    // Hands every queued event to the handler, oldest first; true when there was one.
    static bool Drain(const std::function<void(const SDL_Event&, MzInputTime)>& handle);
    static void Clear();
};
