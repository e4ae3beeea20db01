#include "highscore/CNameEntryWnd.h"

#include "text/TextFormat.h"

namespace {
constexpr const WCHAR* kHeadingFormat = u"恭喜您打破了%s保持的最高纪录，请留下大名";
constexpr const WCHAR* kEmptyNamePrompt = u"请输入您的大名";
constexpr int kBarHeight = 68;

const WCHAR* FormatHeading(CMzStringW& buffer, const WCHAR* format, ...) {
    va_list args;
    va_start(args, format);
    const WCHAR* text = FormatInto(buffer, format, args);
    va_end(args);
    return text;
}
} // namespace

CNameEntryWnd::CNameEntryWnd(const WCHAR* recordHolder, int score, RecordStore store)
    : recordHolder_(recordHolder), score_(score), store_(store) {}

const WCHAR* CNameEntryWnd::GetWndClassName() {
    return u"ZellikNameWnd";
}

CNameEntryWnd::~CNameEntryWnd() = default;

BOOL CNameEntryWnd::OnInitDialog() {
    if (!CMzWndEx::OnInitDialog()) {
        return 0;
    }
    const int w = GetWidth();
    const int h = GetHeight();

    // The holder's name is cut to the buffer if it is too long for it.
    headingBar.SetText(
        FormatHeading(headingText_, kHeadingFormat, static_cast<const WCHAR*>(recordHolder_)));
    headingBar.SetPos(0, 0, w, 42, 0);
    AddUiWin(&headingBar);

    nameEdit.SetPos(40, 85, w - 80, kBarHeight, 0);
    nameEdit.EnableFontChange(true);
    nameEdit.EnableCenterDisplay(true);
    nameEdit.SetSipMode(1, kBarHeight);
    AddUiWin(&nameEdit);
    nameEdit.SetFocus(true);

    toolbar.SetPos(0, h - kBarHeight, w, kBarHeight, 0);
    toolbar.SetButton(0, true, true, u"取消");
    toolbar.SetButton(1, true, true, u"完成");
    toolbar.SetID(kToolbarId);
    AddUiWin(&toolbar);
    return 1;
}

void CNameEntryWnd::OnUiCommand(WPARAM wParam, LPARAM lParam) {
    if ((wParam & 0xFFFF) != kToolbarId) {
        return;
    }
    if (lParam == 0) {
        EndModal(kCancelled);
    } else if (lParam == 1) {
        Confirm();
    }
}

// The name is stored exactly as typed.
void CNameEntryWnd::Confirm() {
    const CMzStringW name = nameEdit.GetText();
    if (name.IsEmpty()) {
        MzMessageBoxEx(m_hWnd, kEmptyNamePrompt, u"", 0, 0);
        return;
    }
    store_(name, score_);
    EndModal(kStored);
}
