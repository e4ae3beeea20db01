// The title bar at the top of a window: its text centred on a dark band.
#pragma once

#include "mzfc/UiWin.h"

class UiHeadingBar : public UiWin {
public:
    void PaintCtrl(MzSurface* hdc) override;
};
