#include "mzfc/UiSingleLineEdit.h"

#include "controls/MzKeys.h"
#include "mzfc/MzPalette.h"
#include "screen/MzPaint.h"
#include "screen/MzShapes.h"

#include <algorithm>

namespace {
bool IsLow(WCHAR c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}
bool IsHigh(WCHAR c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
} // namespace

bool UiSingleLineEdit::IsAllowed(WCHAR c) {
    return c >= 0x20 && c != 0x7F && !(c >= 0x80 && c <= 0x9F) && c != 0x2028 && c != 0x2029;
}

void UiSingleLineEdit::EnableFontChange(bool enable) {
    fontChange_ = enable;
}

void UiSingleLineEdit::EnableCenterDisplay(bool enable) {
    centred_ = enable;
    Invalidate();
}

// The on-screen keyboard of the phone; the desktop keyboard stands in for it.
void UiSingleLineEdit::SetSipMode(int mode, int height) {
    sipMode_ = mode;
    sipHeight_ = height;
}

void UiSingleLineEdit::Insert(const std::u16string& text) {
    std::u16string clean;
    for (WCHAR c : text)
        if (IsAllowed(c))
            clean += c;
    size_t room = kMaxLength > text_.size() ? kMaxLength - text_.size() : 0;
    if (clean.size() > room) {
        clean.resize(room);
        if (!clean.empty() && IsHigh(clean.back()))
            clean.pop_back(); // never keep half a character
    }
    text_.insert(caret_, clean);
    caret_ += clean.size();
    Invalidate();
}

void UiSingleLineEdit::SetText(LPCWSTR text) {
    text_.clear();
    caret_ = 0;
    composition_.clear();
    Insert(text ? std::u16string(text) : std::u16string());
}

void UiSingleLineEdit::Paste(const std::u16string& text) {
    std::u16string flat = text;
    for (WCHAR& c : flat)
        if (c == u'\r' || c == u'\n' || c == u'\t')
            c = u' ';
    Insert(flat);
}

bool UiSingleLineEdit::OnTap(int, int, LPARAM*) {
    SetFocus(true);
    return false; // typing, not a command
}

void UiSingleLineEdit::OnKeyDown(int vk) {
    caret_ = std::min(caret_, text_.size());
    switch (vk) {
    case MzKeys::kLeft:
        if (caret_ > 0)
            caret_ -=
                (caret_ >= 2 && IsLow(text_[caret_ - 1]) && IsHigh(text_[caret_ - 2])) ? 2 : 1;
        break;
    case MzKeys::kRight:
        if (caret_ < text_.size())
            caret_ +=
                (caret_ + 1 < text_.size() && IsHigh(text_[caret_]) && IsLow(text_[caret_ + 1]))
                    ? 2
                    : 1;
        break;
    case MzKeys::kHome:
        caret_ = 0;
        break;
    case MzKeys::kEnd:
        caret_ = text_.size();
        break;
    case MzKeys::kBack:
        if (caret_ > 0) {
            size_t n =
                (caret_ >= 2 && IsLow(text_[caret_ - 1]) && IsHigh(text_[caret_ - 2])) ? 2 : 1;
            text_.erase(caret_ - n, n);
            caret_ -= n;
        }
        break;
    case MzKeys::kDelete:
        if (caret_ < text_.size()) {
            size_t n =
                (caret_ + 1 < text_.size() && IsHigh(text_[caret_]) && IsLow(text_[caret_ + 1]))
                    ? 2
                    : 1;
            text_.erase(caret_, n);
        }
        break;
    default:
        return;
    }
    Invalidate();
}

void UiSingleLineEdit::OnChar(WCHAR c) {
    if (c == 0x08) {
        OnKeyDown(MzKeys::kBack);
        return;
    }
    Insert(std::u16string(1, c));
}

void UiSingleLineEdit::OnComposition(const std::u16string& text) {
    composition_.clear();
    for (WCHAR c : text)
        if (IsAllowed(c))
            composition_ += c;
    Invalidate();
}

// A soft paper card; with the focus an orange glow and a thick orange caret.
void UiSingleLineEdit::PaintCtrl(MzSurface* hdc) {
    using namespace MzPalette;
    const RECT r = Rect();
    const bool focus = HasFocus();
    const RECT card{r.left + 4, r.top + 3, r.right - 4, r.bottom - 5};
    const int radius = std::min(16, (card.bottom - card.top) / 2);
    if (focus)
        MzShapes::RoundRect(hdc, r, radius + 4, 0x66FFA82E, 0x66FFA82E);
    else
        MzShapes::Shadow(hdc, RECT{card.left, card.top + 2, card.right, card.bottom + 2}, radius, 3,
                         kShadow);
    MzShapes::OutlinedRoundRect(hdc, card, radius, focus ? 3 : 2,
                                focus ? MzShapes::Shade(kOrange, 0.85) : 0xFFC9A77A, kPaper,
                                kCream);
    MzTextStyle style;
    style.pixelSize = std::clamp(GetHeight() / 2, 8, 40);
    style.color = kText;
    caret_ = std::min(caret_, text_.size());
    const std::u16string before = text_.substr(0, caret_);
    const std::u16string after = text_.substr(caret_);
    const std::u16string shown = before + composition_ + after;
    const int pad = 8 + radius / 2;
    const int total = MzPaint::TextWidth(shown, style);
    const int inner = GetWidth() - 2 * pad;
    int x = r.left + pad;
    if (centred_ && total < inner)
        x = r.left + pad + (inner - total) / 2;
    int caretX = x + MzPaint::TextWidth(before, style);
    // Keep the caret in view when the text is wider than the box.
    if (caretX > r.right - pad)
        x -= caretX - (r.right - pad);
    caretX = x + MzPaint::TextWidth(before, style);
    RECT inside{card.left + 4, card.top, card.right - 4, card.bottom};
    MzSurface clipped = *hdc;
    clipped.clip.left = std::max<LONG>(clipped.clip.left, hdc->originX + inside.left);
    clipped.clip.right = std::min<LONG>(clipped.clip.right, hdc->originX + inside.right);
    const RECT line{x, card.top, x + total + 4, card.bottom};
    MzPaint::Text(&clipped, shown, line, style);
    const int mid = (card.top + card.bottom) / 2;
    if (!composition_.empty()) {
        int cw = MzPaint::TextWidth(composition_, style);
        int base = mid + style.pixelSize / 2 + 2;
        MzPaint::Fill(&clipped, RECT{caretX, base, caretX + cw, base + 2}, kOrange);
        caretX += cw;
    }
    if (focus) {
        int half = style.pixelSize * 6 / 10;
        MzShapes::RoundRect(&clipped, RECT{caretX, mid - half, caretX + 3, mid + half}, 1,
                            0xFFE0701A, 0xFFE0701A);
    }
}
