#include "mzfc/CMzWnd.h"

#include "ce/CeMessageQueue.h"
#include "ce/CeTrace.h"
#include "ce/CeWindowTable.h"
#include "loop/MzLoop.h"
#include "mzfc/UiWin.h"
#include "screen/MzPaint.h"
#include "screen/MzScreen.h"
#include "screen/MzShapes.h"
#include "screen/MzSurface.h"
#include "windows/MzFramework.h"

#include <algorithm>
#include <string>

namespace {

LRESULT MzWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CMzWnd* wnd = static_cast<CMzWnd*>(CeWindowTable::Instance().UserData(hwnd));
    if (!wnd)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (!wnd->m_hWnd)
        wnd->m_hWnd = hwnd; // WM_CREATE comes before CreateWindowExW returns
    return wnd->MzDefWndProc(message, wParam, lParam);
}

int LoWordSigned(LPARAM l) {
    return static_cast<int16_t>(l & 0xFFFF);
}
int HiWordSigned(LPARAM l) {
    return static_cast<int16_t>((l >> 16) & 0xFFFF);
}

bool Intersects(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

CMzWnd::CMzWnd() = default;

CMzWnd::~CMzWnd() {
    for (UiWin* c : controls_)
        c->Detach();
    controls_.clear();
    if (m_hWnd) {
        HWND h = m_hWnd;
        m_hWnd = nullptr;
        DestroyWindow(h);
    }
}

const WCHAR* CMzWnd::GetWndClassName() {
    return u"MzWnd";
}

CMzWnd* CMzWnd::FromHandle(HWND hwnd) {
    return static_cast<CMzWnd*>(CeWindowTable::Instance().UserData(hwnd));
}

LRESULT CMzWnd::MzDefWndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), LoWordSigned(lParam), HiWordSigned(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), LoWordSigned(lParam), HiWordSigned(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(static_cast<UINT>(wParam), LoWordSigned(lParam), HiWordSigned(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), LoWordSigned(lParam), HiWordSigned(lParam));
        return 0;
    case WM_SIZE:
        OnSize(static_cast<int>(lParam & 0xFFFF), static_cast<int>((lParam >> 16) & 0xFFFF));
        return 0;
    case WM_SETTINGCHANGE:
        OnSettingChange(static_cast<DWORD>(wParam), reinterpret_cast<LPCWSTR>(lParam));
        return 0;
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case kMzWmUiCommand:
        OnUiCommand(wParam, lParam);
        return 0;
    case WM_KEYDOWN: {
        const bool typing = focused_ && focused_->IsVisible() && focused_->AcceptsText();
        if ((!typing && TapBoundControl(lParam)) || wParam == 0)
            return 0;
        if (typing)
            focused_->OnKeyDown(static_cast<int>(wParam));
        OnKeyDown(static_cast<int>(wParam));
        return 0;
    }
    case WM_CHAR:
        if (focused_ && focused_->IsVisible() && focused_->AcceptsText())
            focused_->OnChar(static_cast<WCHAR>(wParam));
        return 0;
    default:
        return 0;
    }
}

void CMzWnd::OnLButtonDblClk(UINT fwKeys, int xPos, int yPos) {
    OnLButtonDown(fwKeys, xPos, yPos);
}

void CMzWnd::OnLButtonDown(UINT, int xPos, int yPos) {
    PressControl(ControlAt(xPos, yPos), xPos, yPos);
}

void CMzWnd::OnLButtonUp(UINT, int xPos, int yPos) {
    ReleaseControl(pressed_ && ControlAt(xPos, yPos) == pressed_, xPos, yPos);
}

// A press made before the control under it appeared (or within its guard) goes nowhere.
void CMzWnd::PressControl(UiWin* control, int xPos, int yPos) {
    if (pressed_)
        pressed_->OnRelease();
    pressed_ = control && control->TakesCurrentInput() ? control : nullptr;
    if (!pressed_)
        return;
    pressed_->OnPress(xPos, yPos);
    if (pressed_->CommandsOnPress())
        SendTap(pressed_, xPos, yPos);
}

// Ends the press; overControl: the release came over the pressed control, which then
// sends its command unless it sent it on the press.
void CMzWnd::ReleaseControl(bool overControl, int xPos, int yPos) {
    UiWin* control = pressed_;
    pressed_ = nullptr;
    if (!control)
        return;
    control->OnRelease();
    if (overControl && !control->CommandsOnPress())
        SendTap(control, xPos, yPos);
}

void CMzWnd::SendTap(UiWin* control, int xPos, int yPos) {
    LPARAM detail = 0;
    if (control->OnTap(xPos, yPos, &detail) && m_hWnd)
        CeWindowTable::Instance().Call(m_hWnd, kMzWmUiCommand,
                                       static_cast<WPARAM>(control->GetID() & 0xFFFF), detail);
}

void CMzWnd::BindKey(int keyPosition, UiWin* control) {
    if (keyPosition > 0 && control)
        keyBindings_.emplace_back(keyPosition, control);
}

// A bound key presses and releases its control at its centre, the road a finger's
// tap takes, so whatever a tap on it does (or refuses) a key does too.
bool CMzWnd::TapBoundControl(LPARAM keyData) {
    const int position = static_cast<int>((keyData >> 16) & 0x1FF);
    const bool repeat = (keyData >> 30) & 1;
    for (const auto& [boundPosition, control] : keyBindings_) {
        // Only a listed control is looked at: one that left the window may be gone.
        if (boundPosition != position ||
            std::find(controls_.begin(), controls_.end(), control) == controls_.end() ||
            !control->IsVisible() || !control->AcceptsTaps() || !control->TakesCurrentInput())
            continue;
        if (!repeat) {
            const int x = control->GetPosX() + control->GetWidth() / 2;
            const int y = control->GetPosY() + control->GetHeight() / 2;
            PressControl(control, x, y);
            ReleaseControl(pressed_ == control, x, y);
        }
        return true;
    }
    return false;
}

void CMzWnd::OnMouseMove(UINT, int, int) {}
void CMzWnd::OnTimer(UINT_PTR) {}
void CMzWnd::OnSize(int, int) {}
void CMzWnd::OnSettingChange(DWORD, LPCWSTR) {}

BOOL CMzWnd::MzRegisterClass() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = MzWndProc;
    wc.lpszClassName = GetWndClassName();
    return RegisterClassW(&wc);
}

BOOL CMzWnd::Create(int x, int y, int w, int h, HWND parent, int, DWORD style, DWORD exStyle) {
    if (m_hWnd)
        return FALSE;
    MzFramework::Ensure();
    if (!MzRegisterClass())
        return FALSE;
    HWND hwnd = CreateWindowExW(exStyle, GetWndClassName(), u"", style & ~WS_VISIBLE, x, y,
                                std::max(w, 0), std::max(h, 0), parent, nullptr, nullptr, this);
    if (!hwnd)
        return FALSE;
    m_hWnd = hwnd;
    PreSubClassWindow();
    OnInitDialog();
    if (style & WS_VISIBLE)
        Show(true, true);
    return TRUE;
}

BOOL CMzWnd::CreateModalDialog(int x, int y, int w, int h, HWND parent) {
    return Create(x, y, w, h, parent, 0, WS_POPUP, 0);
}

BOOL CMzWnd::CreateChildWindow(int x, int y, int w, int h, HWND parent) {
    return Create(x, y, w, h, parent, 0, WS_CHILD, 0);
}

int CMzWnd::DoModal(int) {
    if (!m_hWnd || modalRunning_)
        return 0;
    modalRunning_ = true;
    modalEnded_ = false;
    modalCode_ = 0;
    CeWindowTable::Instance().Raise(m_hWnd);
    MzLoop::PushModal(this);
    Show(true, true);
    MzLoop::RunModal(&modalEnded_);
    MzLoop::PopModal(this);
    const bool ended = modalEnded_;
    modalRunning_ = false;
    if (m_hWnd)
        Show(false, true);
    return ended ? modalCode_ : 0;
}

void CMzWnd::OnPaint(HDC hdc) {
    RECT win{0, 0, GetWidth(), GetHeight()};
    RECT update{hdc->clip.left - hdc->originX, hdc->clip.top - hdc->originY,
                hdc->clip.right - hdc->originX, hdc->clip.bottom - hdc->originY};
    PaintWin(hdc, &win, &update);
}

void CMzWnd::PaintWin(HDC hdc, RECT* prcWin, RECT* prcUpdate) {
    if (!hdc)
        return;
    const RECT all = prcWin ? *prcWin : RECT{0, 0, GetWidth(), GetHeight()};
    const RECT update = prcUpdate ? *prcUpdate : all;
    MzSurface clipped = *hdc;
    clipped.clip.left = std::max<LONG>(hdc->clip.left, hdc->originX + all.left);
    clipped.clip.top = std::max<LONG>(hdc->clip.top, hdc->originY + all.top);
    clipped.clip.right = std::min<LONG>(hdc->clip.right, hdc->originX + all.right);
    clipped.clip.bottom = std::min<LONG>(hdc->clip.bottom, hdc->originY + all.bottom);
    if (clipped.clip.left >= clipped.clip.right || clipped.clip.top >= clipped.clip.bottom)
        return;
    const uint32_t background = BackgroundColour();
    if ((background >> 24) == 0xFF) // a warm sheet, a little deeper towards the bottom
        MzShapes::RoundRect(&clipped, all, 0, background, MzShapes::Shade(background, 0.94));
    else if (background >> 24)
        MzPaint::Fill(&clipped, all, background);
    for (UiWin* c : controls_)
        if (c->IsVisible() && Intersects(c->Rect(), update))
            c->PaintCtrl(&clipped);
}

void CMzWnd::Paint(HDC hdc) {
    OnPaint(hdc);
}

void CMzWnd::PreSubClassWindow() {}
void CMzWnd::OnUiCommand(WPARAM, LPARAM) {}
BOOL CMzWnd::OnInitDialog() {
    return m_hWnd ? TRUE : FALSE;
}
BOOL CMzWnd::OnCommand(WPARAM, LPARAM) {
    return FALSE;
}
BOOL CMzWnd::OnShellHomeKey(UINT, WPARAM, LPARAM) {
    return FALSE;
}
HBITMAP CMzWnd::GetWindowBitmap(RECT*) {
    return nullptr;
}
HBITMAP CMzWnd::GetWindowBitmap() {
    return nullptr;
}
// Enter and Escape press a toolbar's accepting and cancelling buttons, as a tap would.
void CMzWnd::OnKeyDown(int vk) {
    if (focused_ && focused_->IsComposing())
        return; // the key belongs to the input method
    for (UiWin* c : controls_) {
        const int index = c->IsVisible() && c->TakesCurrentInput() ? c->ButtonForKey(vk) : -1;
        if (index >= 0 && m_hWnd) {
            CeWindowTable::Instance().Call(m_hWnd, kMzWmUiCommand,
                                           static_cast<WPARAM>(c->GetID() & 0xFFFF), index);
            return;
        }
    }
}

void CMzWnd::Show(bool show, bool update) {
    if (!m_hWnd)
        return;
    const bool visible = IsWindowVisible(m_hWnd);
    if (show && !visible) {
        ShowWindow(m_hWnd, SW_SHOW);
        if (animateShow_)
            Animate(animateShow_, true);
        guard_.Appeared(); // once its slide is over
    } else if (!show && visible) {
        if (animateHide_)
            Animate(animateHide_, false);
        ShowWindow(m_hWnd, SW_HIDE);
    }
    if (update)
        MzScreen::Instance().UpdateNow();
}

// Types 7 and 8 (and any other non-zero type) slide the window in from the bottom
// and out to it, in a few repaints; tests run without animations.
void CMzWnd::Animate(int, bool showing) {
    if (MzFramework::IsTestMode())
        return;
    const int steps = 8;
    const int h = GetHeight();
    for (int i = 0; i <= steps; ++i) {
        int left = showing ? steps - i : i;
        offsetY_ = h * left / steps;
        MzScreen::Instance().InvalidateAll();
        MzScreen::Instance().UpdateNow();
    }
    offsetY_ = 0;
    MzScreen::Instance().InvalidateAll();
}

BOOL CMzWnd::SetWindowPos(HWND hWndInsertAfter, int x, int y, int w, int h, UINT flags) {
    if (!m_hWnd)
        return FALSE;
    const int oldW = GetWidth(), oldH = GetHeight();
    if (!::SetWindowPos(m_hWnd, hWndInsertAfter, x, y, w, h, flags))
        return FALSE;
    if (w != oldW || h != oldH)
        CeWindowTable::Instance().Call(m_hWnd, WM_SIZE, 0,
                                       static_cast<LPARAM>((w & 0xFFFF) | ((h & 0xFFFF) << 16)));
    return TRUE;
}

BOOL CMzWnd::SetWindowTextW(LPCWSTR text) {
    return m_hWnd ? ::SetWindowTextW(m_hWnd, text) : FALSE;
}

int CMzWnd::GetWidth() const {
    RECT r{};
    return m_hWnd && GetWindowRect(m_hWnd, &r) ? r.right - r.left : 0;
}

int CMzWnd::GetHeight() const {
    RECT r{};
    return m_hWnd && GetWindowRect(m_hWnd, &r) ? r.bottom - r.top : 0;
}

void CMzWnd::EndModal(int code) {
    if (!modalRunning_)
        return; // not running modally: nothing to end
    modalEnded_ = true;
    modalCode_ = code;
    CeMessageQueue::Instance().Post(MSG{m_hWnd, WM_NULL, 0, 0, 0, {0, 0}}); // wakes the loop
}

void CMzWnd::SetAnimateType_Show(int type) {
    animateShow_ = type;
}
void CMzWnd::SetAnimateType_Hide(int type) {
    animateHide_ = type;
}

void CMzWnd::GuardInput(DWORD ms) {
    guard_.Guard(ms, m_hWnd && IsWindowVisible(m_hWnd));
}

void CMzWnd::AddUiWin(UiWin* control) {
    if (!control)
        return;
    if (control->owner_ && control->owner_ != this)
        control->owner_->RemoveUiWin(control);
    if (std::find(controls_.begin(), controls_.end(), control) != controls_.end())
        return;
    controls_.push_back(control);
    if (CeTrace::Enabled())
        CeTrace::Write("list " + std::to_string(control->GetID()));
    control->AttachTo(this);
    if (control->IsVisible())
        control->Appeared();
    if (control->focus_)
        SetFocusedControl(control, control);
    control->Invalidate();
}

void CMzWnd::RemoveUiWin(UiWin* control) {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end())
        return;
    control->Invalidate();
    controls_.erase(it);
    if (CeTrace::Enabled())
        CeTrace::Write("unlist " + std::to_string(control->GetID()));
    if (pressed_ == control)
        pressed_ = nullptr;
    if (focused_ == control) {
        focused_ = nullptr;
        MzScreen::Instance().FocusChanged();
    }
    control->Detach();
}

void CMzWnd::ControlHidden(UiWin* control) {
    if (pressed_ == control) {
        pressed_ = nullptr;
        control->OnRelease();
    }
}

void CMzWnd::SetFocusedControl(UiWin* focus, UiWin* caller) {
    if (!focus) {
        if (focused_ == caller) {
            focused_ = nullptr;
            caller->focus_ = false;
        }
    } else if (std::find(controls_.begin(), controls_.end(), focus) != controls_.end()) {
        if (focused_ && focused_ != focus) {
            focused_->focus_ = false;
            focused_->Invalidate();
        }
        focused_ = focus;
        focus->focus_ = true;
    }
    MzScreen::Instance().FocusChanged();
}

UiWin* CMzWnd::ControlAt(int x, int y) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
        if ((*it)->IsVisible() && (*it)->IsEnabled() && (*it)->AcceptsTaps() &&
            (*it)->Contains(x, y))
            return *it;
    return nullptr;
}

RECT CMzWnd::ScreenRect() const {
    RECT r{};
    if (m_hWnd)
        GetWindowRect(m_hWnd, &r);
    r.top += offsetY_;
    r.bottom += offsetY_;
    return r;
}

void CMzWnd::InvalidateArea(const RECT& local) {
    if (!m_hWnd || !IsWindowVisible(m_hWnd))
        return;
    RECT s = ScreenRect();
    RECT r{std::max<LONG>(s.left + local.left, s.left), std::max<LONG>(s.top + local.top, s.top),
           std::min<LONG>(s.left + local.right, s.right),
           std::min<LONG>(s.top + local.bottom, s.bottom)};
    if (r.left < r.right && r.top < r.bottom)
        MzScreen::Instance().Invalidate(r);
}
