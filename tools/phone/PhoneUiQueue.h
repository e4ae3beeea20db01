// The phone tool's UI thread: work queued from any thread runs, in order, on the
// thread that calls Loop, until Quit.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

class PhoneUiQueue {
public:
    void Run(std::function<void()> work); // thread safe
    void Quit();                          // thread safe
    void Loop();                          // returns after Quit

private:
    std::mutex lock_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> work_;
    bool quit_ = false;
};
