#include "mzfc/MzWaitDlg.h"

#include "screen/MzScreen.h"
#include "windows/MzFramework.h"

void MzBeginWaitDlg(HWND, RECT*, bool) {
    MzFramework::Ensure();
    MzScreen::Instance().SetWaitBox(true);
    MzScreen::Instance().UpdateNow();
}

void MzEndWaitDlg() {
    MzScreen::Instance().SetWaitBox(false);
}
