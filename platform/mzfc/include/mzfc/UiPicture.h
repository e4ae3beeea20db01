// A control that shows one picture: stretched over its rectangle in paint mode 1,
// else at its natural size, centred.
#pragma once

#include "mzfc/UiWin.h"

#include <memory>

struct MzBitmap;

class UiPicture : public UiWin {
public:
    UiPicture();
    ~UiPicture() override;
    BOOL LoadImageW(LPCWSTR path, bool useAlpha = true);
    void SetPaintMode(int mode); // 1: stretch over the control's rectangle
    virtual void SetPictureFlag(bool flag);

    void PaintCtrl(MzSurface* hdc) override;
    bool HasPicture() const { return bitmap_ != nullptr; }

private:
    std::shared_ptr<MzBitmap> bitmap_;
    int paintMode_ = 0;
    bool pictureFlag_ = false;
};
