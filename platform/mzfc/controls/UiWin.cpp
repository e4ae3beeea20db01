#include "mzfc/UiWin.h"

#include "ce/CeTrace.h"
#include "mzfc/CMzWnd.h"
#include "screen/MzScreen.h"

#include <climits>

namespace {
void TraceControl(const char* what, int id, int x, int y, bool withPos) {
    if (!CeTrace::Enabled())
        return;
    // Appended piece by piece: GCC 12 misreads `" " + std::to_string(...)` in
    // optimised builds (a -Wrestrict false positive).
    std::string line = what;
    line += ' ';
    line += std::to_string(id);
    if (withPos) {
        line += ' ';
        line += std::to_string(x);
        line += ' ';
        line += std::to_string(y);
    }
    CeTrace::Write(line);
}

// Positions stay within a range where window + control arithmetic cannot overflow.
int Clamp(long long v) {
    return static_cast<int>(v < -1000000 ? -1000000 : v > 1000000 ? 1000000 : v);
}
} // namespace

UiWin::UiWin() = default;

UiWin::~UiWin() {
    if (owner_)
        owner_->RemoveUiWin(this);
}

void UiWin::SetID(int id) {
    id_ = id;
}
int UiWin::GetID() const {
    return id_;
}
int UiWin::GetPosX() const {
    return x_;
}
int UiWin::GetPosY() const {
    return y_;
}
int UiWin::GetWidth() const {
    return w_;
}
int UiWin::GetHeight() const {
    return h_;
}
bool UiWin::IsVisible() const {
    return visible_;
}

void UiWin::SetPos(int x, int y, int w, int h, UINT) {
    x = Clamp(x);
    y = Clamp(y);
    w = Clamp(w < 0 ? 0 : w);
    h = Clamp(h < 0 ? 0 : h);
    if (x == x_ && y == y_ && w == w_ && h == h_)
        return;
    const bool moved = x != x_ || y != y_;
    Invalidate(); // the old place
    x_ = x;
    y_ = y;
    w_ = w;
    h_ = h;
    Invalidate();
    if (moved)
        TraceControl("move", id_, x_, y_, true);
}

void UiWin::Invalidate(RECT* prcUpdate) {
    if (!owner_)
        return;
    RECT r = Rect();
    if (prcUpdate)
        r = RECT{x_ + prcUpdate->left, y_ + prcUpdate->top, x_ + prcUpdate->right,
                 y_ + prcUpdate->bottom};
    owner_->InvalidateArea(r);
}

void UiWin::Update() {
    MzScreen::Instance().UpdateNow();
}

void UiWin::MoveBy(int dx, int dy) {
    SetPos(Clamp(static_cast<long long>(x_) + dx), Clamp(static_cast<long long>(y_) + dy), w_, h_);
}

void UiWin::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    if (!visible && owner_)
        owner_->ControlHidden(this);
    if (visible && owner_)
        Appeared();
    Invalidate();
    TraceControl(visible ? "show" : "hide", id_, 0, 0, false);
}

void UiWin::SetText(LPCWSTR text) {
    text_ = text ? std::u16string(text) : std::u16string();
    Invalidate();
}

CMzStringW UiWin::GetText() {
    return CMzStringW(text_.c_str());
}

void UiWin::SetFocus(bool focus) {
    focus_ = focus;
    if (owner_)
        owner_->SetFocusedControl(focus ? this : nullptr, this);
    Invalidate();
}

void UiWin::GuardInput(DWORD ms) {
    guard_.Guard(ms, owner_ && visible_);
}

void UiWin::SetEnable(bool enable) {
    enabled_ = enable;
    if (!enable && owner_)
        owner_->ControlHidden(this); // a press held on it ends without a tap
}

bool UiWin::TakesInputMadeAt(const MzInputTime& made) const {
    return enabled_ && guard_.Takes(made);
}

bool UiWin::TakesCurrentInput() const {
    return TakesInputMadeAt(MzScreen::Instance().InputMadeAt());
}

void UiWin::Appeared() {
    guard_.Appeared();
}

void UiWin::PaintCtrl(MzSurface*) {}
void UiWin::OnPress(int, int) {
    pressed_ = true;
    Invalidate();
}
void UiWin::OnRelease() {
    pressed_ = false;
    Invalidate();
}
bool UiWin::OnTap(int, int, LPARAM* lParam) {
    *lParam = 0;
    return true;
}
void UiWin::OnKeyDown(int) {}
void UiWin::OnChar(WCHAR) {}
void UiWin::OnComposition(const std::u16string&) {}

bool UiWin::Contains(int x, int y) const {
    return x >= x_ && y >= y_ && x < x_ + w_ && y < y_ + h_;
}

RECT UiWin::Rect() const {
    return RECT{x_, y_, x_ + w_, y_ + h_};
}

void UiWin::AttachTo(CMzWnd* owner) {
    owner_ = owner;
}
void UiWin::Detach() {
    owner_ = nullptr;
    pressed_ = false;
}
