// A bar of up to kMaxButtons text buttons side by side; a tap on a button sends the
// bar's command with lParam = the button's index. A button's label gives its role:
// the accepting one is green and answers Enter, the cancelling one red and answers
// Escape.
#pragma once

#include "mzfc/UiWin.h"

#include <string>

class UiToolBarPro : public UiWin {
public:
    static constexpr int kMaxButtons = 6;

    // A tap on button index sends the command with lParam = index.
    void SetButton(int index, bool enable, bool visible, LPCWSTR text);

    void PaintCtrl(MzSurface* hdc) override;
    bool AcceptsTaps() const override { return true; }
    void OnPress(int x, int y) override;
    bool OnTap(int x, int y, LPARAM* lParam) override;
    int ButtonAt(int x, int y) const; // window pixels; -1 outside every usable button

    enum class Role { Other, Accept, Cancel };
    static Role RoleOf(const std::u16string& label);
    // The usable button a key presses, or -1.
    int ButtonForKey(int vk) const override;

private:
    RECT ButtonRect(int index) const;
    int SlotCount() const;

    struct Button {
        bool set = false;
        bool enabled = false;
        bool visible = false;
        std::u16string text;
    };
    Button buttons_[kMaxButtons];
    int pressedIndex_ = -1;
};
