#include "mzfc/UiStatic.h"

#include "screen/MzPaint.h"

#include <algorithm>

void UiStatic::PaintCtrl(MzSurface* hdc) {
    MzTextStyle style;
    style.pixelSize = std::clamp(GetHeight() * 3 / 4, 8, 40);
    style.color = 0xFFFFFFFF;
    style.outline = 0xFF202020;
    style.bold = true;
    style.centred = true;
    // The text's room is the middle of the line: a fifth of the width at each end stays
    // free for the small pictures a window lays over the ends.
    const RECT r = Rect();
    const int end = GetWidth() / 5;
    MzPaint::Text(hdc, text_, RECT{r.left + end, r.top, r.right - end, r.bottom}, style);
}
