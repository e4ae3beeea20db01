#include "mzfc/MzMessageBoxWnd.h"

#include "controls/MzKeys.h"
#include "mzfc/MzPalette.h"
#include "mzfc/MzWorkArea.h"
#include "screen/MzPaint.h"
#include "screen/MzShapes.h"
#include "windows/MzFramework.h"

#include <algorithm>

namespace {
constexpr int kBoxWidth = 560;
constexpr int kMargin = 20;
constexpr int kCaptionHeight = 50;
constexpr int kButtonHeight = 56;
constexpr int kRadius = 24;

MzTextStyle BodyStyle() {
    MzTextStyle style;
    style.pixelSize = 24;
    style.color = MzPalette::kText;
    style.wrap = true;
    return style;
}
} // namespace

MzMessageBoxWnd::MzMessageBoxWnd(LPCWSTR text, LPCWSTR caption)
    : text_(text ? text : u""), caption_(caption ? caption : u"") {}

BOOL MzMessageBoxWnd::OnInitDialog() {
    if (!CMzWndEx::OnInitDialog())
        return FALSE;
    const int w = GetWidth(), h = GetHeight();
    const int boxW = std::min(kBoxWidth, w - 2 * kMargin);
    const int textW = boxW - 2 * kMargin;
    MzTextStyle body = BodyStyle();
    const int lines = std::max(1, MzPaint::LineCount(text_, textW, body));
    const int captionH = caption_.empty() ? 0 : kCaptionHeight;
    int textH = lines * MzPaint::LineHeight(body);
    int boxH = captionH + kMargin + textH + kMargin + kButtonHeight + kMargin;
    if (boxH > h - 2 * kMargin) { // a very long text is cut, the button stays on screen
        boxH = h - 2 * kMargin;
        textH = boxH - captionH - 3 * kMargin - kButtonHeight;
    }
    const int left = (w - boxW) / 2, top = (h - boxH) / 2;
    box_ = RECT{left, top, left + boxW, top + boxH};
    textRect_ = RECT{left + kMargin, top + captionH + kMargin, left + boxW - kMargin,
                     top + captionH + kMargin + textH};
    okButton_.SetID(kOkId);
    okButton_.SetText(u"确定");
    okButton_.SetPos(left + (boxW - 160) / 2, box_.bottom - kMargin - kButtonHeight, 160,
                     kButtonHeight);
    AddUiWin(&okButton_);
    return TRUE;
}

void MzMessageBoxWnd::OnUiCommand(WPARAM wParam, LPARAM) {
    if ((wParam & 0xFFFF) == kOkId)
        EndModal(1);
}

// Its one button answers every key a desktop player uses to close a box.
void MzMessageBoxWnd::OnKeyDown(int vk) {
    if (vk == MzKeys::kReturn || vk == MzKeys::kEscape || vk == MzKeys::kSpace)
        EndModal(1);
}

// A rounded cream card with a soft shadow over the dimmed screen; an orange ribbon
// holds the caption.
void MzMessageBoxWnd::PaintWin(HDC hdc, RECT* prcWin, RECT* prcUpdate) {
    using namespace MzPalette;
    RECT all{0, 0, GetWidth(), GetHeight()};
    MzPaint::Fill(hdc, all, kDim);
    MzShapes::Shadow(hdc, RECT{box_.left, box_.top + 6, box_.right, box_.bottom + 6}, kRadius, 10,
                     0xA0241405);
    MzShapes::OutlinedRoundRect(hdc, box_, kRadius, 3, kOutline, kCream, kCreamDeep);
    if (!caption_.empty()) {
        RECT bar{box_.left + 12, box_.top + 10, box_.right - 12, box_.top + kCaptionHeight};
        MzShapes::OutlinedRoundRect(hdc, bar, 12, 2, kOutline, MzShapes::Shade(kOrange, 1.3),
                                    MzShapes::Shade(kOrange, 0.9));
        MzTextStyle style;
        style.pixelSize = 22;
        style.color = 0xFFFFFFFF;
        style.outline = MzShapes::Shade(kOrange, 0.42);
        style.bold = true;
        style.centred = true;
        MzPaint::Text(hdc, caption_, bar, style);
    }
    MzSurface clipped = *hdc;
    clipped.clip.top = std::max<LONG>(hdc->clip.top, hdc->originY + textRect_.top);
    clipped.clip.bottom = std::min<LONG>(hdc->clip.bottom, hdc->originY + textRect_.bottom);
    MzTextStyle body = BodyStyle();
    body.centred = MzPaint::LineCount(text_, textRect_.right - textRect_.left, body) == 1;
    MzPaint::Text(&clipped, text_, textRect_, body);
    CMzWndEx::PaintWin(hdc, prcWin, prcUpdate); // the OK button
}

int MzMessageBoxEx(HWND owner, LPCWSTR text, LPCWSTR caption, UINT, UINT) {
    MzFramework::Ensure();
    MzMessageBoxWnd box(text, caption);
    RECT area = MzGetWorkArea();
    if (!box.Create(area.left, area.top, area.right - area.left, area.bottom - area.top,
                    IsWindow(owner) ? owner : nullptr, 0, WS_POPUP, 0))
        return 0;
    return box.DoModal(1);
}
