// Framework costs measured headless (test mode, software rendering): a cold window
// of 40 controls to its first presented frame, a tap to its presented frame, fitting
// a line too wide for its room, and the process's peak memory.
#include "MzSampleWnd.h"
#include "ce/CePath.h"
#include "mzfc/MzTest.h"
#include "screen/MzPaint.h"
#include "screen/MzScreen.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/resource.h>

namespace {

// 3 pictures, 20 picture buttons, 10 pictures over them, 5 texts, 1 edit, 1 toolbar.
class FortyWnd : public CMzWndEx {
public:
    const WCHAR* GetWndClassName() override { return u"FortyWnd"; }
    BOOL OnInitDialog() override {
        if (!CMzWndEx::OnInitDialog())
            return FALSE;
        normal.LoadImageW(u"Disk\\Sample\\key1.png");
        pressed.LoadImageW(u"Disk\\Sample\\key2.png");
        for (int i = 0; i < 3; ++i) {
            backgrounds[i].SetPos(0, i * 160, 720, 160);
            backgrounds[i].SetPaintMode(1);
            backgrounds[i].LoadImageW(u"Disk\\Sample\\sky.png");
            AddUiWin(&backgrounds[i]);
        }
        for (int i = 0; i < 20; ++i) {
            buttons[i].SetID(200 + i);
            buttons[i].SetPos(20 + (i % 5) * 140, 60 + (i / 5) * 80, 120, 60);
            buttons[i].SetImage_Normal(&normal);
            buttons[i].SetImage_Pressed(&pressed);
            buttons[i].SetPaintMode(1);
            AddUiWin(&buttons[i]);
        }
        for (int i = 0; i < 10; ++i) {
            balls[i].SetPos(30 + i * 68, 380, 60, 60);
            balls[i].SetPaintMode(1);
            balls[i].LoadImageW(u"Disk\\Sample\\ball.png");
            AddUiWin(&balls[i]);
        }
        for (int i = 0; i < 5; ++i) {
            texts[i].SetPos(10 + i * 140, 10, 130, 30);
            texts[i].SetText(u"已打中12次");
            AddUiWin(&texts[i]);
        }
        edit.SetPos(40, 330, 300, 40);
        edit.SetText(u"名字");
        AddUiWin(&edit);
        bar.SetPos(0, 440, 720, 40);
        bar.SetButton(0, true, true, u"取消");
        bar.SetButton(1, true, true, u"完成");
        AddUiWin(&bar);
        return TRUE;
    }
    void OnUiCommand(WPARAM, LPARAM) override { ++commands; }

    ImagingHelper normal, pressed;
    UiPicture backgrounds[3];
    UiButton_Image buttons[20];
    UiPicture balls[10];
    UiStatic texts[5];
    UiSingleLineEdit edit;
    UiToolBarPro bar;
    int commands = 0;
};

std::string g_root;

void Setup() {
    if (!g_root.empty())
        return;
    MzTest::Enable();
    char pattern[] = "/tmp/mzfc-bench-XXXXXX";
    g_root = mkdtemp(pattern);
    setenv("CE_DEVICE_ROOT", g_root.c_str(), 1);
    CePath::ResetForTests();
    MzSampleWnd::WriteAssets();
}

void BM_ColdWindowOf40ControlsToFirstFrame(benchmark::State& state) {
    Setup();
    for (auto _ : state) {
        auto wnd = std::make_unique<FortyWnd>();
        wnd->Create(0, 0, 720, 480);
        const uint64_t before = MzScreen::Instance().PresentCount();
        wnd->Show(true, true);
        if (MzScreen::Instance().PresentCount() == before)
            state.SkipWithError("no frame presented");
        state.PauseTiming();
        wnd.reset(); // destroyed outside the timed part
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ColdWindowOf40ControlsToFirstFrame)->Unit(benchmark::kMillisecond);

void BM_TapToPresentedFrame(benchmark::State& state) {
    Setup();
    FortyWnd wnd;
    wnd.Create(0, 0, 720, 480);
    wnd.Show(true, true);
    MzScreen& screen = MzScreen::Instance();
    for (auto _ : state) {
        screen.PointerDown(80, 90); // button 200: pressed image
        screen.FlushIdle();
        screen.PointerUp(80, 90); // command, normal image
        screen.FlushIdle();
    }
    state.counters["commands"] = wnd.commands;
}
BENCHMARK(BM_TapToPresentedFrame)->Unit(benchmark::kMicrosecond);

void BM_FullScreenRepaint(benchmark::State& state) {
    Setup();
    FortyWnd wnd;
    wnd.Create(0, 0, 720, 480);
    wnd.Show(true, true);
    for (auto _ : state) {
        MzScreen::Instance().InvalidateAll();
        MzScreen::Instance().FlushIdle();
    }
}
BENCHMARK(BM_FullScreenRepaint)->Unit(benchmark::kMicrosecond);

// A status line too wide for its room, fitted at every repaint: the record holder's
// name 60 characters (arg 0) or cut at the game's 2047-character buffer (arg 1).
void BM_FitTooWideLine(benchmark::State& state) {
    Setup();
    const size_t name = state.range(0) ? 2030 : 60;
    const std::u16string line = u"已打中12次 - 最高纪录:" + std::u16string(name, u'名') + u"5次";
    MzTextStyle style;
    style.pixelSize = 22;
    style.bold = true;
    style.outline = 0xFF202020;
    size_t kept = 0;
    for (auto _ : state)
        kept = MzPaint::FitLine(line, 420, style).text.size();
    state.counters["kept"] = static_cast<double>(kept);
}
BENCHMARK(BM_FitTooWideLine)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory (max RSS): %.1f MiB\n", usage.ru_maxrss / 1024.0);
    std::error_code ignored;
    if (!g_root.empty())
        std::filesystem::remove_all(g_root, ignored);
    return 0;
}
