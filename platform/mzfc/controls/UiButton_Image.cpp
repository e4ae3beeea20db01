#include "mzfc/UiButton_Image.h"

#include "mzfc/ImagingHelper.h"
#include "mzfc/MzPalette.h"
#include "screen/MzPaint.h"
#include "screen/MzShapes.h"

#include <algorithm>

void UiButton_Image::SetImage_Normal(ImagingHelper* image) {
    normal_ = image;
    Invalidate();
}

void UiButton_Image::SetImage_Pressed(ImagingHelper* image) {
    pressed_ = image;
    Invalidate();
}

void UiButton_Image::SetMode(int) {}

void UiButton_Image::SetPaintMode(int mode) {
    paintMode_ = mode;
    Invalidate();
}

void UiButton_Image::PaintCtrl(MzSurface* hdc) {
    ImagingHelper* image = ShowsPressed() && pressed_ ? pressed_ : normal_;
    if (image && image->Bitmap()) {
        MzPaint::Image(hdc, image->Bitmap(), Rect(), paintMode_ == 1);
        return;
    }
    if (text_.empty())
        return;
    // A green candy key like the title menu's start button.
    const RECT body = MzShapes::CandyKey(hdc, Rect(), MzPalette::kGreen, ShowsPressed());
    MzTextStyle style;
    style.pixelSize = std::clamp((body.bottom - body.top) / 2, 8, 30);
    style.color = 0xFFFFFFFF;
    style.outline = MzShapes::Shade(MzPalette::kGreen, 0.42);
    style.bold = true;
    style.centred = true;
    MzPaint::Text(hdc, text_, body, style);
}
