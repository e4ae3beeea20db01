// The wait box shown while a program loads: drawn over the screen at once, taken
// away at the end.
#pragma once

#include "ce/CeTypes.h"

void MzBeginWaitDlg(HWND owner, RECT* prc = nullptr, bool transparent = true);
void MzEndWaitDlg();
