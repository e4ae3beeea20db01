#include "mzfc/ImagingHelper.h"

#include "screen/MzBitmap.h"

ImagingHelper::ImagingHelper() = default;

ImagingHelper::~ImagingHelper() = default;

BOOL ImagingHelper::LoadImageW(LPCWSTR path, bool, bool, bool) {
    bitmap_ = MzBitmap::Load(path);
    return bitmap_ ? TRUE : FALSE;
}
