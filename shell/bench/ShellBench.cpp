// Time of one NotifyShellMainWnd round trip to a running `phone shell`, and of one
// IsPhoneLocked call; the game's idle timer makes both every 500 ms. Each call is
// timed on its own, and the median and 99th percentile are reported as counters.
#include "PhoneProcess.h"
#include "ce/CeRemoteWindowLink.h"
#include "shell/Shell.h"
#include "testing/TestDeviceRoot.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <thread>

using namespace std::chrono_literals;

namespace {
struct Device {
    TestDeviceRoot root;
    TestProcess shell;
    Device() {
        CeRemoteWindowLink::Install();
        shell.SpawnPiped(PHONE_EXE, {"shell"});
        shell.WaitFor("shell: ready", 10000ms);
        PhoneProcess::Run({"lock", "off"});
        // The shell logs every command; drain its pipe so it never blocks on it.
        drain = std::thread([this] {
            std::string line;
            while (shell.ReadLine(line, 60000ms)) {
            }
        });
    }
    ~Device() {
        shell.Terminate();
        drain.join();
        shell.Wait(5000ms);
    }
    std::thread drain;
};

Device& TheDevice() {
    static Device device;
    return device;
}

template <typename Call> void Timed(benchmark::State& state, Call call) {
    TheDevice();
    std::vector<double> micros;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(call());
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
}

void BM_NotifyShellMainWnd(benchmark::State& state) {
    Timed(state, [] { return NotifyShellMainWnd(2, 1); });
}
BENCHMARK(BM_NotifyShellMainWnd)->Unit(benchmark::kMicrosecond)->Iterations(2000);

void BM_IsPhoneLocked(benchmark::State& state) {
    Timed(state, [] { return IsPhoneLocked(); });
}
BENCHMARK(BM_IsPhoneLocked)->Unit(benchmark::kMicrosecond)->Iterations(2000);
} // namespace

BENCHMARK_MAIN();
