#include "loop/MzSignals.h"

#include "ce/CeWindow.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {
// The pipe stays open for the life of the process: a late signal must never write
// into a descriptor number that has been reused.
int g_pipe[2] = {-1, -1};
std::thread g_watcher;
std::atomic<bool> g_stopping{false};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void OnSignal(int) {
    const int saved = errno;
    const char byte = 1;
    ssize_t ignored = write(g_pipe[1], &byte, 1); // a full pipe already holds a wake-up
    (void)ignored;
    errno = saved;
}

void Watch() {
    for (;;) {
        pollfd p{g_pipe[0], POLLIN, 0};
        if (poll(&p, 1, -1) < 0 && errno != EINTR)
            return;
        char bytes[64];
        const bool any = read(g_pipe[0], bytes, sizeof bytes) > 0;
        if (g_stopping.load())
            return;
        if (any)
            PostQuitMessage(0);
    }
}
} // namespace

void MzSignals::Install() {
    if (g_pipe[0] < 0) {
        if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
            g_pipe[0] = g_pipe[1] = -1;
            return;
        }
        struct sigaction action {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int sig : kSignals)
            sigaction(sig, &action, nullptr);
    }
    if (!g_watcher.joinable()) {
        g_stopping = false;
        g_watcher = std::thread(Watch);
    }
}

void MzSignals::Stop() {
    if (!g_watcher.joinable())
        return;
    g_stopping = true;
    OnSignal(0);
    g_watcher.join();
}
