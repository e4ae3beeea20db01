#include "mzfc/UiButton.h"

void UiButton::SetButtonType(int) {}

void UiButton::SetButtonMode(int mode) {
    mode_ = mode;
    Invalidate();
}

void UiButton::SetState(int state) {
    state_ = state;
    Invalidate();
}

void UiButton::SetCommandOnPress(bool on) {
    commandOnPress_ = on;
}

int UiButton::GetState() const {
    return state_;
}

bool UiButton::OnTap(int x, int y, LPARAM* lParam) {
    if (mode_ == 1) {
        state_ = state_ ? 0 : 1;
        Invalidate();
    }
    return UiWin::OnTap(x, y, lParam);
}
