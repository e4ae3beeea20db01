// A tappable control. Button mode 1 is a toggle: its state flips at each tap.
#pragma once

#include "mzfc/UiWin.h"

class UiButton : public UiWin {
public:
    void SetButtonType(int type); // kept for the program; every type draws alike
    void SetButtonMode(int mode); // 1: toggle, state flips at each tap
    void SetState(int state);
    int GetState() const;
    // On: the command goes when the pointer goes down on the button (a target that may
    // move before the finger lifts), and the release sends nothing. Off (the default):
    // at the release over the button, so a press can be slid off to cancel.
    void SetCommandOnPress(bool on);

    bool AcceptsTaps() const override { return true; }
    bool OnTap(int x, int y, LPARAM* lParam) override;
    bool CommandsOnPress() const override { return commandOnPress_; }
    bool IsToggle() const { return mode_ == 1; }
    // Drawn as pressed: held down, or a toggle that is on.
    bool ShowsPressed() const { return IsPressed() || (mode_ == 1 && state_ != 0); }

private:
    int mode_ = 0;
    int state_ = 0;
    bool commandOnPress_ = false;
};
