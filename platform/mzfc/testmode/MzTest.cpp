#include "mzfc/MzTest.h"

#include "ce/CeTimerQueue.h"
#include "ce/CeTrace.h"
#include "ce/CeUiClock.h"
#include "controls/MzKeys.h"
#include "loop/MzInputQueue.h"
#include "loop/MzLoop.h"
#include "screen/MzBitmap.h"
#include "screen/MzPointer.h"
#include "screen/MzScreen.h"
#include "testmode/MzTestScript.h"
#include "windows/MzFramework.h"

#include <SDL.h>

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

// As the desktop's mouse gives it: the same queue, stamps and event handling.
void QueueTap(int x, int y) {
    SDL_Event e{};
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = x;
    e.button.y = y;
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.state = SDL_PRESSED;
    MzInputQueue::Push(e);
    e.type = SDL_MOUSEBUTTONUP;
    e.button.state = SDL_RELEASED;
    MzInputQueue::Push(e);
}

void AtPresent(int nth, Step step) {
    MzTestScript::AtPresent(nth, std::move(step));
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

void KeyPress(int sdlKeycode, int sdlScancode, bool repeat) {
    MzScreen::Instance().KeyDown(sdlKeycode, sdlScancode, repeat);
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

std::string PointerShown() {
    switch (MzPointer::Instance().Current()) {
    case MzPointer::Shown::Normal:
        return "normal";
    case MzPointer::Shown::Pressed:
        return "pressed";
    case MzPointer::Shown::Hidden:
        return "hidden";
    case MzPointer::Shown::System:
        break;
    }
    return "system";
}

uint32_t PointerPixelAt(int x, int y) {
    const MzPointer& pointer = MzPointer::Instance();
    if (pointer.Current() != MzPointer::Shown::Normal &&
        pointer.Current() != MzPointer::Shown::Pressed)
        return 0;
    const MzBitmap* picture = pointer.Picture(pointer.Current() == MzPointer::Shown::Pressed);
    const SDL_Surface* s = picture ? picture->Surface() : nullptr;
    if (!s || x < 0 || y < 0 || x >= s->w || y >= s->h)
        return 0;
    return static_cast<const uint32_t*>(s->pixels)[y * (s->pitch / 4) + x];
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
