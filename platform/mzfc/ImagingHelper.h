// Holds one picture for buttons; several buttons may share it.
#pragma once

// The C library's wide functions come first: CE's CRT adds overloads beside them.
#include <cwchar>
#include <string>

#include "ce/CeTypes.h"

struct MzBitmap;

class ImagingHelper {
public:
    ImagingHelper();
    ~ImagingHelper();
    ImagingHelper(const ImagingHelper&) = delete;
    ImagingHelper& operator=(const ImagingHelper&) = delete;
    BOOL LoadImageW(LPCWSTR path, bool useAlpha = true, bool cache = true, bool premultiply = true);

    MzBitmap* Bitmap() const { return bitmap_; }

private:
    MzBitmap* bitmap_ = nullptr;
};
