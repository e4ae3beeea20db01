// The phone's UI framework as the program uses it, on SDL2.
// Windows derive from CMzWndEx and list controls (UiWin) that they own by value;
// only listed, visible controls paint (in listing order) and get taps.
#pragma once

#include "ce/ce.h"
#include "mzfc/CMzApp.h"
#include "mzfc/CMzStringW.h"
#include "mzfc/CMzWnd.h"
#include "mzfc/CMzWndEx.h"
#include "mzfc/ImagingHelper.h"
#include "mzfc/MzKeyPosition.h"
#include "mzfc/MzInputGuard.h"
#include "mzfc/MzInputTime.h"
#include "mzfc/MzMessageBoxWnd.h"
#include "mzfc/MzPointer.h"
#include "mzfc/MzWaitDlg.h"
#include "mzfc/MzWorkArea.h"
#include "mzfc/UiButton.h"
#include "mzfc/UiButton_Image.h"
#include "mzfc/UiHeadingBar.h"
#include "mzfc/UiPicture.h"
#include "mzfc/UiSingleLineEdit.h"
#include "mzfc/UiStatic.h"
#include "mzfc/UiToolBarPro.h"
#include "mzfc/UiWin.h"
