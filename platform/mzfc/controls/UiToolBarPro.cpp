#include "mzfc/UiToolBarPro.h"

#include "controls/MzKeys.h"
#include "mzfc/MzPalette.h"
#include "screen/MzPaint.h"
#include "screen/MzShapes.h"

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

UiToolBarPro::Role UiToolBarPro::RoleOf(const std::u16string& label) {
    static const char16_t* const kAccept[] = {u"完成", u"确定", u"好", u"是", u"OK", u"Done"};
    static const char16_t* const kCancel[] = {u"取消", u"返回", u"否", u"Cancel", u"Back"};
    for (const char16_t* word : kAccept)
        if (label == word)
            return Role::Accept;
    for (const char16_t* word : kCancel)
        if (label == word)
            return Role::Cancel;
    return Role::Other;
}

int UiToolBarPro::ButtonForKey(int vk) const {
    Role wanted = vk == MzKeys::kReturn   ? Role::Accept
                  : vk == MzKeys::kEscape ? Role::Cancel
                                          : Role::Other;
    if (wanted == Role::Other)
        return -1;
    for (int i = 0; i < SlotCount(); ++i) {
        const Button& b = buttons_[i];
        if (b.set && b.visible && b.enabled && RoleOf(b.text) == wanted)
            return i;
    }
    return -1;
}

// A wooden plank holding candy keys like the title menu's.
void UiToolBarPro::PaintCtrl(MzSurface* hdc) {
    using namespace MzPalette;
    const RECT r = Rect();
    MzShapes::RoundRect(hdc, r, 0, MzShapes::Shade(kWood, 1.25), MzShapes::Shade(kWood, 0.8));
    MzPaint::Fill(hdc, RECT{r.left, r.top, r.right, r.top + 2}, kOutline);
    MzPaint::Fill(hdc, RECT{r.left, r.top + 2, r.right, r.top + 4}, 0x55FFFFFF);
    MzTextStyle style;
    style.pixelSize = std::clamp(GetHeight() * 2 / 5, 8, 30);
    style.bold = true;
    style.centred = true;
    for (int i = 0; i < SlotCount(); ++i) {
        const Button& b = buttons_[i];
        if (!b.set || !b.visible)
            continue;
        const Role role = RoleOf(b.text);
        const uint32_t base = !b.enabled             ? kGrey
                              : role == Role::Accept ? kGreen
                              : role == Role::Cancel ? kRed
                                                     : kOrange;
        const bool down = IsPressed() && pressedIndex_ == i;
        const RECT body = MzShapes::CandyKey(hdc, ButtonRect(i), base, down);
        style.color = b.enabled ? 0xFFFFFFFF : 0xFFF4EEE2;
        style.outline = MzShapes::Shade(base, 0.42);
        MzPaint::Text(hdc, b.text, body, style);
    }
}
