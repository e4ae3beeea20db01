// A small window that shows every kind of control: pictures (stretched and at
// natural size), a toggle button, text in Chinese, an edit field and a toolbar. Used
// by the sample program and the screenshot test.
#pragma once

#include "mzfc/mzfc.h"

#include <string>

class MzSampleWnd : public CMzWndEx {
public:
    static constexpr int kButtonId = 101;
    static constexpr int kToolbarId = 351;

    // Draws the sample's pictures as PNG files under the device root (CE_DEVICE_ROOT)
    // in "Disk\Sample\"; false when they cannot be written.
    static bool WriteAssets();

    const WCHAR* GetWndClassName() override { return u"MzSampleWnd"; }
    BOOL OnInitDialog() override;
    void OnUiCommand(WPARAM wParam, LPARAM lParam) override;

    UiPicture background;
    UiPicture ball;
    ImagingHelper buttonNormal;
    ImagingHelper buttonPressed;
    UiButton_Image toggle;
    UiStatic title;
    UiSingleLineEdit edit;
    UiToolBarPro toolbar;

    int commands = 0;
    int lastId = -1;
    LPARAM lastParam = -1;
};
