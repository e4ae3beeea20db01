#include "mzfc/ImagingHelper.h"

#include "mzfc/MzBitmap.h"

ImagingHelper::ImagingHelper() = default;

ImagingHelper::~ImagingHelper() {
    delete bitmap_;
}

BOOL ImagingHelper::LoadImageW(LPCWSTR path, bool, bool, bool) {
    delete bitmap_;
    bitmap_ = MzBitmap::Load(path);
    return bitmap_ ? TRUE : FALSE;
}
