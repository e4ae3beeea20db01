// The game's own costs in test mode (no display pacing): a tap on the mole until the
// frame without it is presented, and the two slides (start of a game, game over).
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/CMoleApp.h"
#include "ce/CePath.h"
#include "game/CMoleMainWnd.h"
#include "game/GameState.h"
#include "game/MolePaths.h"
#include "mzfc/MzTest.h"

namespace {

using Clock = std::chrono::steady_clock;

void TapCentre(UiWin& c) {
    MzTest::Tap(c.GetPosX() + c.GetWidth() / 2, c.GetPosY() + c.GetHeight() / 2);
}

CMoleMainWnd& Wnd() {
    return *theApp.mainWnd;
}

// Moves the clock to the next mole step.
void AdvanceToNextMole() {
    const int k = GameState.molesShown;
    MzTest::Advance(k == 0 ? 1000 : k < 80 ? 1000 - 10 * k : 210);
}

// Runs the game once with a script built by makeScript and hands back the measured
// durations in seconds.
std::vector<double> Measure(int samples, void (*makeScript)(std::vector<MzTest::Step>&,
                                                            std::vector<double>&, int)) {
    static bool ready = false;
    if (!ready) {
        const std::string root =
            (std::filesystem::temp_directory_path() / "burrowbop-bench-device").string();
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
        setenv("CE_DEVICE_ROOT", root.c_str(), 1);
        CePath::ResetForTests();
        CePath::AddMount(MolePaths::kInstallFolder, BURROWBOP_BENCH_ASSET_DIR);
        MzTest::Enable();
        ready = true;
    }
    std::vector<double> seconds;
    std::vector<MzTest::Step> script;
    makeScript(script, seconds, samples);
    MzTest::RunApp(std::move(script));
    delete theApp.mainWnd;
    theApp.mainWnd = nullptr;
    GameState.inMenu = true;
    return seconds;
}

void Report(benchmark::State& state, std::vector<double> seconds) {
    size_t i = 0;
    for (auto _ : state) {
        state.SetIterationTime(seconds[i++ % seconds.size()]);
    }
    std::sort(seconds.begin(), seconds.end());
    state.counters["median_us"] = seconds[seconds.size() / 2] * 1e6;
    state.counters["p99_us"] = seconds[seconds.size() * 99 / 100] * 1e6;
}

// Tap on the mole, then the loop presents the frame without it before the next step.
void TapToFrameScript(std::vector<MzTest::Step>& script, std::vector<double>& out, int samples) {
    static Clock::time_point tapped;
    script.push_back([] { TapCentre(Wnd().menuButtons[0]); });
    for (int i = 0; i < samples; ++i) {
        script.push_back([] { AdvanceToNextMole(); });
        script.push_back([] {
            tapped = Clock::now();
            TapCentre(Wnd().moleButtons[GameState.moleHole]);
        });
        script.push_back([&out] {
            out.push_back(std::chrono::duration<double>(Clock::now() - tapped).count());
        });
    }
}

void BM_TapToFrame(benchmark::State& state) {
    Report(state, Measure(200, TapToFrameScript));
    state.counters["hits"] = GameState.hits;
}
BENCHMARK(BM_TapToFrame)->UseManualTime()->Iterations(200);

// A whole game without hits: the logo slide at the start and the game-over slide.
void SlidesScript(std::vector<MzTest::Step>& script, std::vector<double>& out, int samples) {
    static Clock::time_point started;
    for (int i = 0; i < samples; ++i) {
        script.push_back([] {
            started = Clock::now();
            TapCentre(Wnd().menuButtons[0]);
        });
        script.push_back([&out] {
            out.push_back(std::chrono::duration<double>(Clock::now() - started).count());
        });
        for (int tick = 0; tick < 6; ++tick) {
            script.push_back([] {
                MzTest::Advance(GameState.molesShown == 0 ? 1000
                                                          : 1000 - 10 * GameState.molesShown);
            });
        }
        script.push_back([] { TapCentre(Wnd().gameOverButton); });
    }
}

void BM_StartOfGameSlide(benchmark::State& state) {
    Report(state, Measure(50, SlidesScript));
}
BENCHMARK(BM_StartOfGameSlide)->UseManualTime()->Iterations(50);

} // namespace

BENCHMARK_MAIN();
