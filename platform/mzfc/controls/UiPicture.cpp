#include "mzfc/UiPicture.h"

#include "screen/MzBitmap.h"
#include "screen/MzPaint.h"

UiPicture::UiPicture() = default;

UiPicture::~UiPicture() = default;

BOOL UiPicture::LoadImageW(LPCWSTR path, bool) {
    bitmap_ = MzBitmap::Load(path);
    Invalidate();
    return bitmap_ ? TRUE : FALSE;
}

void UiPicture::SetPaintMode(int mode) {
    paintMode_ = mode;
    Invalidate();
}

// The flag marks a picture drawn as part of the background; it changes nothing in
// how it is drawn here.
void UiPicture::SetPictureFlag(bool flag) {
    pictureFlag_ = flag;
}

void UiPicture::PaintCtrl(MzSurface* hdc) {
    MzPaint::Image(hdc, bitmap_.get(), Rect(), paintMode_ == 1);
}
