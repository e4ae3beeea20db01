// A line of text, centred in its rectangle, drawn bold in white with a dark outline
// so that it reads on any picture behind it. Small pictures a window lays over either
// end of a wide line leave the text readable: the text keeps to the middle three
// fifths of the width, drawn smaller or elided there when it is too long.
#pragma once

#include "mzfc/UiWin.h"

class UiStatic : public UiWin {
public:
    void PaintCtrl(MzSurface* hdc) override;
};
