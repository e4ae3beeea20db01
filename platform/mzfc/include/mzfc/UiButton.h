// A tappable control. Button mode 1 is a toggle: its state flips at each tap.
#pragma once

#include "mzfc/UiWin.h"

class UiButton : public UiWin {
public:
    void SetButtonType(int type); // kept for the program; every type draws alike
    void SetButtonMode(int mode); // 1: toggle, state flips at each tap
    void SetState(int state);
    int GetState() const;

    bool AcceptsTaps() const override { return true; }
    bool OnTap(int x, int y, LPARAM* lParam) override;
    bool IsToggle() const { return mode_ == 1; }
    // Drawn as pressed: held down, or a toggle that is on.
    bool ShowsPressed() const { return IsPressed() || (mode_ == 1 && state_ != 0); }

private:
    int mode_ = 0;
    int state_ = 0;
};
