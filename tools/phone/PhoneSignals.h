// Ends the phone tool's long-running commands cleanly on SIGINT, SIGTERM or SIGHUP:
// the signals are blocked in every thread and taken by one waiting thread.
#pragma once

#include <functional>

class PhoneSignals {
public:
    // Call first thing in such a command, before any thread starts; the short
    // commands leave the signals alone, so that they end on them wherever they wait.
    static void Block();
    // Starts the waiting thread; onStop runs on it once.
    static void OnStop(std::function<void()> onStop);
};
