// The message loop in real time, with a desktop window when there is a display (run
// it under xvfb-run for the figures):
//   mzfc_loop_bench            timer lateness over 300 ticks (periodic and re-armed
//                              timers) and the wall time of a 200-step slide
//   mzfc_loop_bench --idle N   CPU use and wake-ups per second over N seconds of an
//                              idle window with a 500 ms timer
#include "loop/MzLoop.h"
#include "mzfc/mzfc.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

int64_t NowUs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Context switches of every thread of the process: each sleep and wake-up is one.
long Switches() {
    long total = 0;
    DIR* dir = opendir("/proc/self/task");
    if (!dir)
        return 0;
    while (dirent* e = readdir(dir)) {
        if (e->d_name[0] == '.')
            continue;
        std::ifstream in(std::string("/proc/self/task/") + e->d_name + "/status");
        std::string line;
        while (std::getline(in, line))
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
                total += std::atol(line.c_str() + 24);
    }
    closedir(dir);
    return total;
}

class BenchWnd : public CMzWndEx {
public:
    const WCHAR* GetWndClassName() override { return u"LoopBenchWnd"; }
    void OnTimer(UINT_PTR id) override {
        const int64_t now = NowUs();
        if (id == 1) { // periodic: deadlines on a fixed grid; a late tick skips the missed ones
            while (deadline + intervalUs <= now) {
                deadline += intervalUs;
                ++skipped;
            }
            lateness.push_back(now - deadline);
            deadline += intervalUs;
            if (++ticks == total) {
                KillTimer(m_hWnd, 1);
                PostQuitMessage(0);
            }
        } else if (id == 2) { // re-armed in the handler, like the game's mole timer
            lateness.push_back(now - deadline);
            if (++ticks == total) {
                KillTimer(m_hWnd, 2);
                PostQuitMessage(0);
                return;
            }
            deadline = NowUs() + intervalUs;
            SetTimer(m_hWnd, 2, static_cast<UINT>(intervalUs / 1000), nullptr);
        } else if (id == 3) {
            ++ticks;
        }
    }
    std::vector<int64_t> lateness;
    int64_t start = 0, deadline = 0, intervalUs = 0;
    int ticks = 0, total = 0, skipped = 0;
};

void Report(const char* what, std::vector<int64_t> v, int64_t drift, int skipped) {
    if (std::getenv("MZFC_BENCH_VERBOSE"))
        for (size_t i = 0; i < v.size(); ++i)
            if (v[i] > 2000)
                std::printf("  tick %zu late by %.2f ms\n", i, v[i] / 1000.0);
    std::sort(v.begin(), v.end());
    auto at = [&](double q) {
        return v[std::min(v.size() - 1, static_cast<size_t>(q * v.size()))] / 1000.0;
    };
    std::printf("%s: %zu ticks, lateness p50 %.2f ms, p99 %.2f ms, max %.2f ms; periods skipped "
                "%d; end of the run against its ideal end %.2f ms\n",
                what, v.size(), at(0.5), at(0.99), v.back() / 1000.0, skipped, drift / 1000.0);
}

void Lateness(BenchWnd& wnd, int id, int intervalMs) {
    wnd.lateness.clear();
    wnd.ticks = 0;
    wnd.skipped = 0;
    wnd.total = 300;
    wnd.intervalUs = intervalMs * 1000;
    wnd.start = NowUs();
    wnd.deadline = wnd.start + wnd.intervalUs;
    SetTimer(wnd.m_hWnd, id, intervalMs, nullptr);
    const int64_t begin = NowUs();
    MzLoop::RunMain(nullptr);
    const int64_t drift =
        NowUs() - begin - (300LL + (id == 1 ? wnd.skipped : 0)) * intervalMs * 1000;
    Report(id == 1 ? "periodic 20 ms timer" : "re-armed 20 ms timer", wnd.lateness, drift,
           wnd.skipped);
}

void Slide(BenchWnd& wnd) {
    UiPicture logo;
    logo.SetPos(160, 300, 400, 100);
    wnd.AddUiWin(&logo);
    const int64_t begin = NowUs();
    for (int i = 0; i < 200; ++i) {
        logo.MoveBy(0, -2);
        logo.Invalidate();
        logo.Update();
    }
    std::printf("200-step slide of a 400 x 100 picture: %.3f s\n", (NowUs() - begin) / 1e6);
    wnd.RemoveUiWin(&logo);
}

void Idle(BenchWnd& wnd, int seconds) {
    wnd.ticks = 0;
    SetTimer(wnd.m_hWnd, 3, 500, nullptr);
    SetTimer(nullptr, 0, seconds * 1000, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        PostQuitMessage(0);
    });
    // Let start-up settle, then measure.
    const double cpu0 = CpuSeconds();
    const long sw0 = Switches();
    const int64_t t0 = NowUs();
    MzLoop::RunMain(nullptr);
    const double wall = (NowUs() - t0) / 1e6;
    const double cpu = CpuSeconds() - cpu0;
    const long sw = Switches() - sw0;
    std::printf("idle %.1f s with a 500 ms timer: %d ticks, CPU %.3f s = %.3f%% of a core, "
                "%.2f wake-ups/s\n",
                wall, wnd.ticks, cpu, 100.0 * cpu / wall, sw / wall);
    KillTimer(wnd.m_hWnd, 3);
}

} // namespace

int main(int argc, char** argv) {
    int idleSeconds = 0;
    if (argc == 3 && std::strcmp(argv[1], "--idle") == 0)
        idleSeconds = std::max(1, std::atoi(argv[2]));
    BenchWnd wnd;
    RECT area = MzGetWorkArea();
    wnd.Create(area.left, area.top, area.right - area.left, area.bottom - area.top);
    wnd.SetWindowTextW(u"mzfc loop bench");
    wnd.Show();
    // Let the desktop window map and settle before measuring.
    SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        PostQuitMessage(0);
    });
    MzLoop::RunMain(nullptr);
    if (idleSeconds) {
        Idle(wnd, idleSeconds);
        return 0;
    }
    Lateness(wnd, 1, 20);
    Lateness(wnd, 2, 20);
    Slide(wnd);
    return 0;
}
