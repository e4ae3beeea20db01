#include "highscore/CNameEntryWnd.h"

#include "game/GameState.h"
#include "ini/IniFile.h"
#include "ini/Settings.h"

namespace {
constexpr const WCHAR* kHeadingFormat = u"恭喜您打破了%s保持的最高纪录，请留下大名";
constexpr const WCHAR* kEmptyNamePrompt = u"请输入您的大名";
constexpr int kBarHeight = 68;
} // namespace

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
        FormatText(kHeadingFormat, static_cast<const WCHAR*>(GameState.recordHolder)));
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

// The name is stored exactly as typed; Name goes to the file before Score.
void CNameEntryWnd::Confirm() {
    const CMzStringW name = nameEdit.GetText();
    if (name.IsEmpty()) {
        MzMessageBoxEx(m_hWnd, kEmptyNamePrompt, u"", 0, 0);
        return;
    }
    GameState.highScore = GameState.hits;
    GameState.recordHolder = name;
    IniWriteString(u"Save", u"Name", name, kSettingsPath);
    IniWriteString(u"Save", u"Score", Int2String(GameState.highScore), kSettingsPath);
    EndModal(kStored);
}
