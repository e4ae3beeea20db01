#include "PhoneUiQueue.h"

void PhoneUiQueue::Run(std::function<void()> work) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        work_.push_back(std::move(work));
    }
    wake_.notify_one();
}

void PhoneUiQueue::Quit() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        quit_ = true;
    }
    wake_.notify_one();
}

void PhoneUiQueue::Loop() {
    for (;;) {
        std::function<void()> next;
        {
            std::unique_lock<std::mutex> guard(lock_);
            wake_.wait(guard, [this] { return quit_ || !work_.empty(); });
            if (quit_)
                return;
            next = std::move(work_.front());
            work_.pop_front();
        }
        next();
    }
}
