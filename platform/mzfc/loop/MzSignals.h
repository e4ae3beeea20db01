// The stop signals (SIGTERM, SIGINT, SIGHUP) end the program the way closing its
// window does: a quit message, so that every loop ends and the program cleans up.
// The handler only writes a byte to a pipe (async-signal-safe); a watcher thread
// posts the quit. Later signals post the same quit again, which changes nothing.
#pragma once

#include "windows/MzInside.h"

class MzSignals {
public:
    static void Install(); // idempotent
    static void Stop();    // ends the watcher; the handlers stay, their bytes unread
};
