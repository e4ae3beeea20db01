// A line of text, centred in its rectangle, drawn bold in white with a dark outline
// so that it reads on any picture behind it. Centred by default so that small
// pictures a window lays over either end of a wide line leave the text readable.
#pragma once

#include "mzfc/UiWin.h"

class UiStatic : public UiWin {
public:
    void PaintCtrl(MzSurface* hdc) override;
};
