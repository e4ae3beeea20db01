// The phone's 720 x 480 screen: a software surface that the visible windows are
// composed on (bottom to top), the area waiting for a repaint, presentation with the
// phone display's pacing, and the routing of pointer and keyboard input to windows.
#pragma once

#include "windows/MzInside.h"

#include "ce/CeTypes.h"
#include "ce/CeWindowObserver.h"

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

    // Input in screen pixels; a press captures the window it lands in.
    void PointerDown(int x, int y);
    void PointerUp(int x, int y);
    void PointerMove(int x, int y);
    void Key(int vk, LPARAM keyData = 0);
    // A desktop key going down (SDL key code and scan code), as WM_KEYDOWN to the
    // active window: its virtual key and its position.
    void KeyDown(int sdlKeycode, int sdlScancode, bool repeat);
    void Char(WCHAR c);
    void Composition(const std::u16string& text);
    void Paste(const std::u16string& text);
    void FocusChanged();

    uint32_t PixelAt(int x, int y); // 0xAARRGGBB; 0 outside
    bool SavePng(const char* path);
    CMzWnd* ActiveWindow(); // the topmost visible window: keyboard input goes there
    CMzWnd* WindowAt(int x, int y);
    uint64_t PresentCount() const { return presents_; }

    void OnWindowChanged(HWND hwnd, CeWindowChange change) override;

private:
    MzScreen() = default;
    int64_t Repaint(); // area repainted, in pixels
    void Compose(const RECT& area);
    void Present(int64_t area, bool paced);

    SDL_Surface* surface_ = nullptr;
    RECT dirty_{0, 0, 0, 0};
    bool hasDirty_ = false;
    bool waitBox_ = false;
    HWND capture_ = nullptr;
    uint64_t presents_ = 0;
    static constexpr double kNsPerPixel = 55.0; // the phone display's speed
    int64_t paceDeadlineNs_ = 0;
};
