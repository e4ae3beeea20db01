// A button drawn with pictures: the normal one, and the pressed one while held down
// (or while a toggle is on). Without pictures it is drawn as a plain labelled key.
#pragma once

#include "mzfc/UiButton.h"

class ImagingHelper;

class UiButton_Image : public UiButton {
public:
    void SetImage_Normal(ImagingHelper* image);
    void SetImage_Pressed(ImagingHelper* image);
    void SetMode(int mode);      // kept for the program; the pictures draw alike in every mode
    void SetPaintMode(int mode); // 1: stretch over the control's rectangle

    void PaintCtrl(MzSurface* hdc) override;

private:
    ImagingHelper* normal_ = nullptr;
    ImagingHelper* pressed_ = nullptr;
    int paintMode_ = 0;
};
