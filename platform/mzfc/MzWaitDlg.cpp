#include "mzfc/MzWaitDlg.h"

#include "mzfc/MzFramework.h"
#include "mzfc/MzScreen.h"

void MzBeginWaitDlg(HWND, RECT*, bool) {
    MzFramework::Ensure();
    MzScreen::Instance().SetWaitBox(true);
    MzScreen::Instance().UpdateNow();
}

void MzEndWaitDlg() {
    MzScreen::Instance().SetWaitBox(false);
}
