// Talking to the phone around the game: the USB function driver (which announces a
// USB connection with a registered message), the shell's main window (which gives
// the game the full screen and takes it back), and the shell's lock flag.
#pragma once

#include "ce/ce.h"
#include "shell/ShellProtocol.h"

// Registers "UsbNotifyMsgName" and hands its number to the USB function driver;
// 0xFFFFFFFF when the driver cannot be reached.
DWORD RegisterUsbNotifyMessage();
// The first device of the USB function driver's class, opened for reading, or
// INVALID_HANDLE_VALUE. The caller closes it.
HANDLE OpenUsbFunctionDevice();
// Sends the shell's main window its command (2, 1: full screen for the game; 1, 0:
// the screen back to the shell). 0 when there is no shell window or it did not
// answer within 2000 ms.
LRESULT NotifyShellMainWnd(WPARAM wParam, LPARAM lParam);
// True while the shell's lock flag reads nonzero.
bool IsPhoneLocked();
