#include "mzfc/UiToolBarPro.h"

#include "mzfc/MzPaint.h"

#include <algorithm>

void UiToolBarPro::SetButton(int index, bool enable, bool visible, LPCWSTR text) {
    if (index < 0 || index >= kMaxButtons)
        return;
    Button& b = buttons_[index];
    b.set = true;
    b.enabled = enable;
    b.visible = visible;
    b.text = text ? std::u16string(text) : std::u16string();
    Invalidate();
}

// The bar is cut into equal slots, one per index up to the highest one set.
int UiToolBarPro::SlotCount() const {
    int slots = 0;
    for (int i = 0; i < kMaxButtons; ++i)
        if (buttons_[i].set)
            slots = i + 1;
    return slots;
}

RECT UiToolBarPro::ButtonRect(int index) const {
    RECT r = Rect();
    int slots = std::max(SlotCount(), 1);
    int w = (r.right - r.left) / slots;
    int left = r.left + index * w;
    int margin = std::min(8, GetHeight() / 8);
    return RECT{left + margin, r.top + margin, left + w - margin, r.bottom - margin};
}

int UiToolBarPro::ButtonAt(int x, int y) const {
    for (int i = 0; i < SlotCount(); ++i) {
        const Button& b = buttons_[i];
        RECT r = ButtonRect(i);
        if (b.set && b.visible && b.enabled && x >= r.left && x < r.right && y >= r.top &&
            y < r.bottom)
            return i;
    }
    return -1;
}

void UiToolBarPro::OnPress(int x, int y) {
    pressedIndex_ = ButtonAt(x, y);
    UiWin::OnPress(x, y);
}

bool UiToolBarPro::OnTap(int x, int y, LPARAM* lParam) {
    int index = ButtonAt(x, y);
    bool same = index >= 0 && index == pressedIndex_;
    pressedIndex_ = -1;
    *lParam = index;
    return same;
}

void UiToolBarPro::PaintCtrl(MzSurface* hdc) {
    RECT r = Rect();
    MzPaint::Fill(hdc, r, 0xFF26282C);
    MzPaint::Fill(hdc, RECT{r.left, r.top, r.right, r.top + 1}, 0xFF55585E);
    MzTextStyle style;
    style.pixelSize = std::clamp(GetHeight() * 2 / 5, 8, 32);
    style.centred = true;
    for (int i = 0; i < SlotCount(); ++i) {
        const Button& b = buttons_[i];
        if (!b.set || !b.visible)
            continue;
        RECT br = ButtonRect(i);
        bool down = IsPressed() && pressedIndex_ == i;
        MzPaint::Fill(hdc, br, down ? 0xFF3D6FA8 : 0xFF3A3D44);
        MzPaint::Frame(hdc, br, 0xFF6B7079, 1);
        style.color = b.enabled ? 0xFFFFFFFF : 0xFF8A8D93;
        MzPaint::Text(hdc, b.text, br, style);
    }
}
