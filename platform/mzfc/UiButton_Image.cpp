#include "mzfc/UiButton_Image.h"

#include "mzfc/ImagingHelper.h"
#include "mzfc/MzPaint.h"

void UiButton_Image::SetImage_Normal(ImagingHelper* image) {
    normal_ = image;
    Invalidate();
}

void UiButton_Image::SetImage_Pressed(ImagingHelper* image) {
    pressed_ = image;
    Invalidate();
}

void UiButton_Image::SetMode(int mode) {
    imageMode_ = mode;
}

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
    MzPaint::Fill(hdc, Rect(), ShowsPressed() ? 0xFF3A6EA5 : 0xFF5A8FC8);
    MzTextStyle style;
    style.pixelSize = GetHeight() / 2;
    style.color = 0xFFFFFFFF;
    style.centred = true;
    MzPaint::Text(hdc, text_, Rect(), style);
}
