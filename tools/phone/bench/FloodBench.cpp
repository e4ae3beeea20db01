// A running `phone shell` under a flood of connections that each send a 4-byte header
// promising a 2 MiB frame and then nothing: the shell's peak memory, and the round trip
// of NotifyShellMainWnd to it before, during (while the connections open and 5 s after)
// and after the flood: median, 99th percentile and the share answered. Usage: shell_flood_bench
// [connections] [phone executable]
#include "PhoneProcess.h"
#include "ce/CeIpcChannel.h"
#include "shell/Shell.h"
#include "testing/TestDeviceRoot.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {
long StatusKb(int pid, const char* field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line, key = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(key.size()));
    return -1;
}

// Opens a connection and sends the header; -1 when the listener's queue stayed full.
int Promise(const std::string& name) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path + 1, name.data(), name.size());
    auto len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    const char header[4] = {0, 0, 0x20, 0}; // 2 MiB, little-endian
    for (int attempt = 0; attempt < 500; ++attempt) {
        int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), len) == 0) {
            ::send(fd, header, 4, MSG_NOSIGNAL);
            return fd;
        }
        ::close(fd);
        if (errno != EAGAIN)
            return -1;
        std::this_thread::sleep_for(1ms);
    }
    return -1;
}

struct RoundTrips {
    double median = 0, p99 = 0;
    int answered = 0, asked = 0;
};

// Round trips every 5 ms until done() says so.
template <typename Done> RoundTrips Measure(Done done) {
    std::vector<double> micros;
    RoundTrips r;
    for (; !done(); std::this_thread::sleep_for(5ms)) {
        auto t = Clock::now();
        bool ok = NotifyShellMainWnd(2, 1) != 0;
        ++r.asked;
        if (!ok)
            continue;
        ++r.answered;
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t).count());
    }
    std::sort(micros.begin(), micros.end());
    if (!micros.empty()) {
        r.median = micros[micros.size() / 2];
        r.p99 = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
    }
    return r;
}

void Print(const char* what, const RoundTrips& r) {
    std::printf("%-24s answered %4d/%-4d median %9.0f us  p99 %9.0f us\n", what, r.answered,
                r.asked, r.median, r.p99);
}
} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 2000;
    const std::string phone = argc > 2 ? argv[2] : PHONE_EXE;
    rlimit files{};
    ::getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = files.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &files);

    TestDeviceRoot root;
    TestProcess shell;
    if (!shell.SpawnPiped(phone, {"shell"}) || !shell.WaitFor("shell: ready", 10000ms)) {
        std::fprintf(stderr, "flood bench: %s shell did not start\n", phone.c_str());
        return 1;
    }
    std::thread drain([&] {
        std::string line;
        while (shell.ReadLine(line, 120000ms)) {
        }
    });
    const std::string name = PhoneProcess::SocketOf(root.Path(), shell.Pid());
    std::printf("flood of %d connections promising 2 MiB each, on %s\n", count, phone.c_str());
    auto lasting = [](Clock::duration span) {
        return [end = Clock::now() + span] { return Clock::now() >= end; };
    };
    Print("round trip, quiet", Measure(lasting(2s)));

    // Measured while the connections open and for 5 s after.
    std::atomic<bool> flooding{true};
    RoundTrips during;
    std::thread measure([&] { during = Measure([&] { return !flooding.load(); }); });
    std::vector<int> fds;
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i)
        if (int fd = Promise(name); fd >= 0)
            fds.push_back(fd);
    const double opening = std::chrono::duration<double>(Clock::now() - start).count();
    std::this_thread::sleep_for(5s);
    flooding = false;
    measure.join();
    std::printf("connections opened %zu of %d in %.2f s\n", fds.size(), count, opening);
    Print("round trip, flooded", during);
    std::printf("shell peak RSS %ld kB, RSS now %ld kB, threads %ld\n",
                StatusKb(shell.Pid(), "VmHWM"), StatusKb(shell.Pid(), "VmRSS"),
                StatusKb(shell.Pid(), "Threads"));
    for (int fd : fds)
        ::close(fd);
    std::this_thread::sleep_for(2s);
    std::printf("after they closed: RSS %ld kB, threads %ld\n", StatusKb(shell.Pid(), "VmRSS"),
                StatusKb(shell.Pid(), "Threads"));
    Print("round trip, after", Measure(lasting(2s)));
    shell.Terminate();
    drain.join();
    shell.Wait(5000ms);
    return 0;
}
