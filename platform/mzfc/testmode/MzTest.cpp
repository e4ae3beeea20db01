#include "mzfc/MzTest.h"

#include "ce/CeTimerQueue.h"
#include "ce/CeTrace.h"
#include "ce/CeUiClock.h"
#include "controls/MzKeys.h"
#include "loop/MzLoop.h"
#include "screen/MzScreen.h"
#include "testmode/MzTestScript.h"
#include "windows/MzFramework.h"

namespace MzTest {

void Enable() {
    MzFramework::EnableTestMode();
    if (!CeUiClock::IsVirtual())
        CeUiClock::SetVirtual(true);
    CeTrace::CaptureInMemory(true);
    MzFramework::Ensure();
}

bool IsEnabled() {
    return MzFramework::IsTestMode();
}

int RunApp(std::vector<Step> script) {
    CMzApp* app = MzGetApp();
    if (!app)
        return 0;
    MzFramework::Ensure();
    MzTestScript::Begin(std::move(script));
    int code = 0;
    if (app->Init())
        code = app->Run();
    MzTestScript::End();
    return code;
}

int RunLoop(std::vector<Step> script) {
    MzFramework::Ensure();
    MzTestScript::Begin(std::move(script));
    int code = MzLoop::RunMain(MzGetApp());
    MzTestScript::End();
    return code;
}

void Tap(int x, int y) {
    MzScreen::Instance().PointerDown(x, y);
    MzScreen::Instance().PointerUp(x, y);
}

void QueueTap(int x, int y) {
    MzTestScript::QueueInput([x, y] { Tap(x, y); });
}

void Press(int x, int y) {
    MzScreen::Instance().PointerDown(x, y);
}

void Release(int x, int y) {
    MzScreen::Instance().PointerUp(x, y);
}

void TypeText(const char16_t* text) {
    if (!text)
        return;
    for (const char16_t* p = text; *p; ++p)
        MzScreen::Instance().Char(*p);
}

void KeyPress(int sdlKeycode) {
    if (int vk = MzKeys::FromSdl(sdlKeycode))
        MzScreen::Instance().Key(vk);
}

void SetHidden(bool hidden) {
    MzFramework::SetHidden(hidden);
}

void Advance(DWORD ms) {
    const int64_t target = CeUiClock::NowUs() + static_cast<int64_t>(ms) * 1000;
    for (;;) {
        const int64_t next = CeTimerQueue::Instance().NextDeadline();
        if (next < 0 || next > target)
            break;
        const int64_t now = CeUiClock::NowUs();
        if (next > now)
            CeUiClock::Advance(next - now);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    const int64_t now = CeUiClock::NowUs();
    if (target > now)
        CeUiClock::Advance(target - now);
}

CMzWnd* ActiveWindow() {
    return MzScreen::Instance().ActiveWindow();
}

bool SaveScreenPng(const char* path) {
    MzScreen::Instance().FlushIdle();
    return MzScreen::Instance().SavePng(path);
}

uint32_t PixelAt(int x, int y) {
    return MzScreen::Instance().PixelAt(x, y);
}

std::vector<std::string> Trace() {
    return CeTrace::Captured();
}

void ClearTrace() {
    CeTrace::ClearCaptured();
}

} // namespace MzTest
