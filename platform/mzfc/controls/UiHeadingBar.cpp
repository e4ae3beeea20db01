#include "mzfc/UiHeadingBar.h"

#include "mzfc/MzPalette.h"
#include "screen/MzPaint.h"
#include "screen/MzShapes.h"

#include <algorithm>

// An orange ribbon with folded tails, the title in white with a brown edge.
void UiHeadingBar::PaintCtrl(MzSurface* hdc) {
    using namespace MzPalette;
    const RECT r = Rect();
    const int h = r.bottom - r.top;
    const int tail = std::min(36, (r.right - r.left) / 8);
    const uint32_t fold = MzShapes::Shade(kOrange, 0.7);
    MzShapes::OutlinedRoundRect(hdc,
                                RECT{r.left + 2, r.top + h / 4, r.left + tail + 12, r.bottom - 1},
                                6, 2, kOutline, fold, MzShapes::Shade(fold, 0.85));
    MzShapes::OutlinedRoundRect(hdc,
                                RECT{r.right - tail - 12, r.top + h / 4, r.right - 2, r.bottom - 1},
                                6, 2, kOutline, fold, MzShapes::Shade(fold, 0.85));
    const RECT band{r.left + tail, r.top + 1, r.right - tail, r.bottom - h / 6};
    MzShapes::OutlinedRoundRect(hdc, band, 8, 2, kOutline, MzShapes::Shade(kOrange, 1.3),
                                MzShapes::Shade(kOrange, 0.9));
    const int bandH = band.bottom - band.top;
    MzShapes::RoundRect(hdc,
                        RECT{band.left + 6, band.top + 3, band.right - 6, band.top + bandH / 2}, 5,
                        0x80FFFFFF, 0x10FFFFFF);
    MzTextStyle style;
    style.pixelSize = std::clamp(bandH * 3 / 5, 8, 30);
    style.color = 0xFFFFFFFF;
    style.outline = MzShapes::Shade(kOrange, 0.42);
    style.bold = true;
    style.centred = true;
    MzPaint::Text(hdc, text_, RECT{band.left + 8, band.top, band.right - 8, band.bottom}, style);
}
