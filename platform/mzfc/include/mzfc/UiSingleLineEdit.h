// One line of text typed on the desktop keyboard or through an input method: the
// composition is shown at the caret until committed; cursor keys, backspace, delete
// and paste work. It never holds a line break, a zero or another control character,
// and at most kMaxLength code units.
#pragma once

#include "mzfc/UiWin.h"

#include <string>

class UiSingleLineEdit : public UiWin {
public:
    static constexpr size_t kMaxLength = 1024;

    void EnableFontChange(bool enable);
    void EnableCenterDisplay(bool enable);
    void SetSipMode(int mode, int height);

    void SetText(LPCWSTR text) override;
    void PaintCtrl(MzSurface* hdc) override;
    bool AcceptsTaps() const override { return true; }
    bool OnTap(int x, int y, LPARAM* lParam) override;
    bool AcceptsText() const override { return true; }
    void OnKeyDown(int vk) override;
    void OnChar(WCHAR c) override;
    void OnComposition(const std::u16string& text) override;
    bool IsComposing() const override { return !composition_.empty(); }
    void Paste(const std::u16string& text) override;

    static bool IsAllowed(WCHAR c);
    size_t Caret() const { return caret_; }
    const std::u16string& Composition() const { return composition_; }

private:
    void Insert(const std::u16string& text);

    size_t caret_ = 0;
    std::u16string composition_;
    bool centred_ = false;
    bool fontChange_ = false;
    int sipMode_ = 0;
    int sipHeight_ = 0;
};
