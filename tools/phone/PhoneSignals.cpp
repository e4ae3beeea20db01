#include "PhoneSignals.h"

#include <csignal>
#include <pthread.h>
#include <thread>

namespace {
sigset_t StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}
} // namespace

void PhoneSignals::Block() {
    sigset_t set = StopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void PhoneSignals::OnStop(std::function<void()> onStop) {
    std::thread([onStop = std::move(onStop)] {
        sigset_t set = StopSignals();
        int sig = 0;
        sigwait(&set, &sig);
        onStop();
    }).detach();
}
