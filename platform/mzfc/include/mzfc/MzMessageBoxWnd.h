// The message box: a modal window over the screen that dims what lies below and
// shows a card with the caption, the text and an OK button. OK, Enter, Space and
// Escape close it.
#pragma once

#include "mzfc/CMzWndEx.h"
#include "mzfc/UiButton_Image.h"

#include <string>

class MzMessageBoxWnd : public CMzWndEx {
public:
    static constexpr int kOkId = 1;

    MzMessageBoxWnd(LPCWSTR text, LPCWSTR caption);
    const WCHAR* GetWndClassName() override { return u"MzMessageBoxWnd"; }
    BOOL OnInitDialog() override;
    void OnUiCommand(WPARAM wParam, LPARAM lParam) override;
    void OnKeyDown(int vk) override;
    void PaintWin(HDC hdc, RECT* prcWin, RECT* prcUpdate) override;
    uint32_t BackgroundColour() const override { return 0; }

    const std::u16string& Text() const { return text_; }
    const std::u16string& Caption() const { return caption_; }
    RECT Box() const { return box_; }
    RECT OkRect() const { return okButton_.Rect(); }

private:
    std::u16string text_;
    std::u16string caption_;
    RECT box_{0, 0, 0, 0};
    RECT textRect_{0, 0, 0, 0};
    UiButton_Image okButton_;
};

int MzMessageBoxEx(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags1 = 0, UINT flags2 = 0);
