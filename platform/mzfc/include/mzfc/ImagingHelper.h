// Holds one picture for buttons; several buttons may share it.
#pragma once

#include "ce/CeTypes.h"

#include <memory>

struct MzBitmap;

class ImagingHelper {
public:
    ImagingHelper();
    ~ImagingHelper();
    ImagingHelper(const ImagingHelper&) = delete;
    ImagingHelper& operator=(const ImagingHelper&) = delete;
    BOOL LoadImageW(LPCWSTR path, bool useAlpha = true, bool cache = true, bool premultiply = true);

    MzBitmap* Bitmap() const { return bitmap_.get(); }

private:
    std::shared_ptr<MzBitmap> bitmap_;
};
