#include "mzfc/UiStatic.h"

#include "mzfc/MzPaint.h"

#include <algorithm>

void UiStatic::PaintCtrl(MzSurface* hdc) {
    MzTextStyle style;
    style.pixelSize = std::clamp(GetHeight() * 3 / 4, 8, 40);
    style.color = 0xFFFFFFFF;
    style.outline = 0xFF202020;
    style.bold = true;
    style.centred = true;
    MzPaint::Text(hdc, text_, Rect(), style);
}
