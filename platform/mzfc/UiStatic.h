// A line of text, left-aligned and vertically centred, drawn bold in white with a
// dark outline so that it reads on any picture behind it.
#pragma once

#include "mzfc/UiWin.h"

class UiStatic : public UiWin {
public:
    void PaintCtrl(MzSurface* hdc) override;
};
