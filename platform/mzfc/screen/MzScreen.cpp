#include "screen/MzScreen.h"

#include "ce/CeHostSleep.h"
#include "ce/CeMonotonic.h"
#include "ce/CeNotice.h"
#include "ce/CeTrace.h"
#include "ce/CeUtf16.h"
#include "ce/CeWindow.h"
#include "ce/CeWindowTable.h"
#include "controls/MzKeys.h"
#include "loop/MzLoop.h"
#include "mzfc/CMzWnd.h"
#include "mzfc/MzPalette.h"
#include "mzfc/UiWin.h"
#include "screen/MzDisplay.h"
#include "screen/MzPaint.h"
#include "screen/MzPointer.h"
#include "screen/MzShapes.h"
#include "screen/MzSurface.h"
#include "testmode/MzTestScript.h"
#include "windows/MzFramework.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>

namespace {

LPARAM PointParam(int x, int y) {
    return static_cast<LPARAM>((static_cast<uint32_t>(static_cast<uint16_t>(x))) |
                               (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16));
}

const RECT kWaitBox{260, 200, 460, 280};

// The desktop window opens when the program first shows a top-level window.
void OpenDisplay(HWND shown) {
    if (!MzDisplay::Open()) {
        CeNotice::Once("window", std::string("cannot open a window: ") + SDL_GetError());
        PostQuitMessage(1);
        return;
    }
    if (CeTrace::Enabled())
        CeTrace::Write("display open");
    MzDisplay::SetTitle(CeUtf16::ToUtf8(CeWindowTable::Instance().Title(shown)));
}

} // namespace

MzScreen& MzScreen::Instance() {
    static MzScreen* screen = new MzScreen; // windows are destroyed during static teardown
    return *screen;
}

SDL_Surface* MzScreen::Surface() {
    if (!surface_) {
        surface_ = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_ARGB8888);
        if (surface_)
            SDL_FillRect(surface_, nullptr, 0xFF000000);
        InvalidateAll();
    }
    return surface_;
}

void MzScreen::Invalidate(const RECT& r) {
    RECT c{std::max<LONG>(r.left, 0), std::max<LONG>(r.top, 0), std::min<LONG>(r.right, kWidth),
           std::min<LONG>(r.bottom, kHeight)};
    if (c.left >= c.right || c.top >= c.bottom)
        return;
    if (!hasDirty_) {
        dirty_ = c;
        hasDirty_ = true;
        return;
    }
    dirty_.left = std::min(dirty_.left, c.left);
    dirty_.top = std::min(dirty_.top, c.top);
    dirty_.right = std::max(dirty_.right, c.right);
    dirty_.bottom = std::max(dirty_.bottom, c.bottom);
}

void MzScreen::InvalidateAll() {
    Invalidate(RECT{0, 0, kWidth, kHeight});
}

void MzScreen::Compose(const RECT& area) {
    SDL_Surface* s = Surface();
    if (!s)
        return;
    SDL_Rect fill{area.left, area.top, area.right - area.left, area.bottom - area.top};
    SDL_FillRect(s, &fill, 0xFF000000);
    for (HWND h : CeWindowTable::Instance().StackingOrder()) {
        CMzWnd* w = CMzWnd::FromHandle(h);
        if (!w || !CeWindowTable::Instance().IsVisible(h))
            continue;
        RECT r = w->ScreenRect();
        MzSurface hdc;
        hdc.target = s;
        hdc.originX = r.left;
        hdc.originY = r.top;
        hdc.clip = RECT{std::max(area.left, r.left), std::max(area.top, r.top),
                        std::min(area.right, r.right), std::min(area.bottom, r.bottom)};
        if (hdc.clip.left < hdc.clip.right && hdc.clip.top < hdc.clip.bottom)
            w->Paint(&hdc);
    }
    if (waitBox_) {
        // A small cream card with a soft shadow, like the message boxes.
        MzSurface hdc;
        hdc.target = s;
        hdc.clip = area;
        const RECT card{kWaitBox.left + 8, kWaitBox.top + 6, kWaitBox.right - 8,
                        kWaitBox.bottom - 10};
        MzShapes::Shadow(&hdc, RECT{card.left, card.top + 3, card.right, card.bottom + 3}, 18, 6,
                         0x90241405);
        MzShapes::OutlinedRoundRect(&hdc, card, 18, 3, MzPalette::kOutline, MzPalette::kCream,
                                    MzPalette::kCreamDeep);
        MzTextStyle style;
        style.pixelSize = 24;
        style.color = MzPalette::kText;
        style.bold = true;
        style.centred = true;
        MzPaint::Text(&hdc, u"请稍候…", card, style);
    }
}

int64_t MzScreen::Repaint() {
    if (!hasDirty_ || MzFramework::IsShutDown())
        return 0;
    RECT area = dirty_;
    hasDirty_ = false;
    Compose(area);
    if (MzDisplay::IsOpen())
        MzDisplay::Upload(Surface(), area);
    return static_cast<int64_t>(area.right - area.left) * (area.bottom - area.top);
}

// The phone's display takes time in proportion to the area it changes: wait until
// the previous frames and this one would have been shown there.
void MzScreen::Present(int64_t area, bool paced) {
    ++presents_;
    if (CeTrace::Enabled())
        CeTrace::Write("present");
    if (MzFramework::IsTestMode())
        MzTestScript::Presented();
    if (MzDisplay::IsOpen())
        MzDisplay::Present(!paced);
    if (!paced || MzFramework::IsTestMode())
        return;
    const int64_t now = CeMonotonic::NowNs();
    paceDeadlineNs_ = std::max(paceDeadlineNs_, now) + static_cast<int64_t>(area * kNsPerPixel);
    if (paceDeadlineNs_ > now + 200000)
        CeHostSleep::ForNs(paceDeadlineNs_ - now);
}

void MzScreen::UpdateNow() {
    int64_t area = Repaint();
    if (area > 0)
        Present(area, true);
}

bool MzScreen::FlushIdle() {
    int64_t area = Repaint();
    if (area > 0)
        Present(area, false);
    bool flushed = MzDisplay::IsOpen() && MzDisplay::FlushPending();
    return area > 0 || flushed;
}

void MzScreen::SetWaitBox(bool on) {
    if (waitBox_ == on)
        return;
    waitBox_ = on;
    Invalidate(kWaitBox);
}

// While a modal window runs, only it and the windows it owns take input, wherever
// the others stand.
static bool TakesInput(HWND hwnd) {
    CMzWnd* modal = MzLoop::TopModal();
    if (!modal)
        return true;
    CeWindowTable& table = CeWindowTable::Instance();
    for (HWND h = hwnd; h; h = table.Parent(h))
        if (h == modal->m_hWnd)
            return true;
    return false;
}

CMzWnd* MzScreen::WindowAt(int x, int y) {
    std::vector<HWND> order = CeWindowTable::Instance().StackingOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        CMzWnd* w = CMzWnd::FromHandle(*it);
        if (!w || !CeWindowTable::Instance().IsVisible(*it) || !TakesInput(*it))
            continue;
        RECT r = w->ScreenRect();
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return w;
    }
    return nullptr;
}

CMzWnd* MzScreen::ActiveWindow() {
    std::vector<HWND> order = CeWindowTable::Instance().StackingOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        CMzWnd* w = CMzWnd::FromHandle(*it);
        if (w && CeWindowTable::Instance().IsVisible(*it) && TakesInput(*it))
            return w;
    }
    return nullptr;
}

void MzScreen::Deliver(MzInputTime made, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool wasDelivering = delivering_;
    const MzInputTime wasMade = deliveringMade_;
    delivering_ = true;
    deliveringMade_ = made;
    CeWindowTable::Instance().Call(hwnd, message, wParam, lParam);
    delivering_ = wasDelivering;
    deliveringMade_ = wasMade;
}

MzInputTime MzScreen::InputMadeAt() const {
    return delivering_ ? deliveringMade_ : MzInputQueue::Now();
}

void MzScreen::PointerDown(int x, int y, MzInputTime made) {
    MzPointer::Instance().Press(true);
    if (CeTrace::Enabled())
        CeTrace::Write("tap " + std::to_string(x) + " " + std::to_string(y));
    capture_ = nullptr;
    CMzWnd* w = WindowAt(x, y);
    if (!w || !w->TakesInputMadeAt(made))
        return; // the press and the release that follows go nowhere
    capture_ = w->m_hWnd;
    RECT r = w->ScreenRect();
    Deliver(made, capture_, WM_LBUTTONDOWN, 1, PointParam(x - r.left, y - r.top));
}

void MzScreen::PointerUp(int x, int y, MzInputTime made) {
    MzPointer::Instance().Press(false);
    HWND h = capture_;
    capture_ = nullptr;
    CMzWnd* w = h ? CMzWnd::FromHandle(h) : nullptr;
    if (!w)
        return;
    RECT r = w->ScreenRect();
    Deliver(made, h, WM_LBUTTONUP, 0, PointParam(x - r.left, y - r.top));
}

void MzScreen::PointerMove(int x, int y, MzInputTime made) {
    CMzWnd* w = capture_ ? CMzWnd::FromHandle(capture_) : nullptr;
    if (!w)
        return;
    RECT r = w->ScreenRect();
    Deliver(made, capture_, WM_MOUSEMOVE, 1, PointParam(x - r.left, y - r.top));
}

CMzWnd* MzScreen::ActiveFor(MzInputTime made) {
    CMzWnd* w = ActiveWindow();
    return w && w->TakesInputMadeAt(made) ? w : nullptr;
}

void MzScreen::Key(int vk, LPARAM keyData, MzInputTime made) {
    if (CeTrace::Enabled())
        CeTrace::Write("key " + std::to_string(vk) + " " + std::to_string((keyData >> 16) & 0x1FF));
    if (CMzWnd* w = ActiveFor(made))
        Deliver(made, w->m_hWnd, WM_KEYDOWN, static_cast<WPARAM>(vk), keyData);
}

void MzScreen::KeyDown(int sdlKeycode, int sdlScancode, bool repeat, MzInputTime made) {
    const int vk = MzKeys::FromSdl(sdlKeycode);
    // A held key that presses buttons presses them once.
    const bool presses = vk == MzKeys::kReturn || vk == MzKeys::kEscape || vk == MzKeys::kSpace;
    const bool placed = MzKeys::PositionFromSdl(sdlScancode) != 0;
    if ((vk || placed) && !(presses && repeat))
        Key(vk, MzKeys::KeyData(sdlScancode, repeat), made);
}

void MzScreen::Char(WCHAR c, MzInputTime made) {
    if (CMzWnd* w = ActiveFor(made))
        Deliver(made, w->m_hWnd, WM_CHAR, static_cast<WPARAM>(c), 0);
}

void MzScreen::Composition(const std::u16string& text, MzInputTime made) {
    CMzWnd* w = ActiveFor(made);
    UiWin* focus = w ? w->FocusedControl() : nullptr;
    if (focus && focus->AcceptsText())
        focus->OnComposition(text);
}

void MzScreen::Paste(const std::u16string& text, MzInputTime made) {
    CMzWnd* w = ActiveFor(made);
    if (UiWin* focus = w ? w->FocusedControl() : nullptr)
        focus->Paste(text);
}

void MzScreen::FocusChanged() {
    if (!MzDisplay::IsOpen())
        return;
    CMzWnd* w = ActiveWindow();
    UiWin* focus = w ? w->FocusedControl() : nullptr;
    if (focus && focus->AcceptsText() && focus->IsVisible()) {
        RECT r = w->ScreenRect();
        MzDisplay::SetTextInput(true, RECT{r.left + focus->GetPosX(), r.top + focus->GetPosY(),
                                           r.left + focus->GetPosX() + focus->GetWidth(),
                                           r.top + focus->GetPosY() + focus->GetHeight()});
    } else {
        MzDisplay::SetTextInput(false, RECT{});
    }
}

uint32_t MzScreen::PixelAt(int x, int y) {
    SDL_Surface* s = Surface();
    if (!s || x < 0 || y < 0 || x >= s->w || y >= s->h)
        return 0;
    return static_cast<uint32_t*>(s->pixels)[y * (s->pitch / 4) + x];
}

bool MzScreen::SavePng(const char* path) {
    SDL_Surface* s = Surface();
    return s && path && IMG_SavePNG(s, path) == 0;
}

void MzScreen::OnWindowChanged(HWND hwnd, CeWindowChange change) {
    switch (change) {
    case CeWindowChange::Destroyed:
        if (capture_ == hwnd)
            capture_ = nullptr;
        InvalidateAll();
        break;
    case CeWindowChange::Shown:
        if (!MzDisplay::IsOpen() && MzFramework::HasVideo() &&
            !CeWindowTable::Instance().Parent(hwnd))
            OpenDisplay(hwnd);
        [[fallthrough]];
    case CeWindowChange::Hidden:
    case CeWindowChange::Moved:
    case CeWindowChange::Raised:
        InvalidateAll();
        FocusChanged();
        break;
    case CeWindowChange::Title:
        if (MzDisplay::IsOpen() && !(CeWindowTable::Instance().Parent(hwnd)))
            MzDisplay::SetTitle(CeUtf16::ToUtf8(CeWindowTable::Instance().Title(hwnd)));
        break;
    case CeWindowChange::Foreground:
        if (MzDisplay::IsOpen())
            MzDisplay::Raise();
        break;
    case CeWindowChange::Created:
        break;
    }
}
