#include "mzfc/UiHeadingBar.h"

#include "mzfc/MzPaint.h"

#include <algorithm>

void UiHeadingBar::PaintCtrl(MzSurface* hdc) {
    RECT r = Rect();
    MzPaint::Fill(hdc, r, 0xFF2E3F55);
    MzPaint::Fill(hdc, RECT{r.left, r.bottom - 2, r.right, r.bottom}, 0xFF7A9CC6);
    MzTextStyle style;
    style.pixelSize = std::clamp(GetHeight() / 2, 8, 32);
    style.color = 0xFFFFFFFF;
    style.centred = true;
    style.wrap = false;
    MzPaint::Text(hdc, text_, RECT{r.left + 8, r.top, r.right - 8, r.bottom - 2}, style);
}
