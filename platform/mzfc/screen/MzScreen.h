// The phone's 720 x 480 screen: a software surface that the visible windows are
// composed on (bottom to top), the area waiting for a repaint, presentation with the
// phone display's pacing, and the routing of pointer and keyboard input to windows.
#pragma once

#include "windows/MzInside.h"

#include "ce/CeTypes.h"
#include "ce/CeWindowObserver.h"
#include "loop/MzInputQueue.h"

#include <cstdint>
#include <string>

struct SDL_Surface;
class CMzWnd;

class MzScreen : public CeWindowObserver {
public:
    static constexpr int kWidth = 720;
    static constexpr int kHeight = 480;

    static MzScreen& Instance();

    SDL_Surface* Surface(); // made on first use
    void Invalidate(const RECT& screenRect);
    void InvalidateAll();
    void UpdateNow(); // repaints what changed and presents it at once, paced
    bool FlushIdle(); // repaints and presents what changed, unpaced; true if it did
    void SetWaitBox(bool on);

    // Input in screen pixels, made at `made`; a press captures the window it lands in.
    // A window takes no input made before it appeared or within the guard it asked for.
    void PointerDown(int x, int y, MzInputTime made = MzInputQueue::Now());
    void PointerUp(int x, int y, MzInputTime made = MzInputQueue::Now());
    void PointerMove(int x, int y, MzInputTime made = MzInputQueue::Now());
    void Key(int vk, LPARAM keyData = 0, MzInputTime made = MzInputQueue::Now());
    // A desktop key going down (SDL key code and scan code), as WM_KEYDOWN to the
    // active window: its virtual key and its position.
    void KeyDown(int sdlKeycode, int sdlScancode, bool repeat,
                 MzInputTime made = MzInputQueue::Now());
    void Char(WCHAR c, MzInputTime made = MzInputQueue::Now());
    void Composition(const std::u16string& text, MzInputTime made = MzInputQueue::Now());
    void Paste(const std::u16string& text, MzInputTime made = MzInputQueue::Now());
    void FocusChanged();
    // When the input being handled was made; outside input handling, now.
    MzInputTime InputMadeAt() const;

    uint32_t PixelAt(int x, int y); // 0xAARRGGBB; 0 outside
    bool SavePng(const char* path);
    CMzWnd* ActiveWindow(); // the topmost visible window: keyboard input goes there
    CMzWnd* WindowAt(int x, int y);
    uint64_t PresentCount() const { return presents_; }

    void OnWindowChanged(HWND hwnd, CeWindowChange change) override;

private:
    MzScreen() = default;
    int64_t Repaint(); // area repainted, in pixels
    // The active window, when it takes input made at `made` (which it then handles).
    CMzWnd* ActiveFor(MzInputTime made);
    // Calls the window with `made` as the input being handled, for its controls' checks.
    void Deliver(MzInputTime made, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Compose(const RECT& area);
    void Present(int64_t area, bool paced);

    SDL_Surface* surface_ = nullptr;
    RECT dirty_{0, 0, 0, 0};
    bool hasDirty_ = false;
    bool waitBox_ = false;
    HWND capture_ = nullptr;
    bool delivering_ = false;
    MzInputTime deliveringMade_{};

    uint64_t presents_ = 0;
    static constexpr double kNsPerPixel = 55.0; // the phone display's speed
    int64_t paceDeadlineNs_ = 0;
};
