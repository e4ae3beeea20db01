// What the game and the phone's outside components agree on: the shell's window class
// and command message, the lock flag in the registry, the USB function driver's class,
// control code and notification message name. Used by shell/, the phone tool and the
// tests, so each fact is spelled once.
#pragma once

#include "ce/ce.h"

namespace ShellProtocol {
// The shell's main window and the message that gives the game the full screen
// (kTakeScreen) or gives it back to the shell (kGiveBack).
inline constexpr const WCHAR* kWindowClass = u"CShellMainWnd";
inline constexpr UINT kCommand = 0xFFF0001A;
inline constexpr WPARAM kTakeScreenW = 2;
inline constexpr LPARAM kTakeScreenL = 1;
inline constexpr WPARAM kGiveBackW = 1;
inline constexpr LPARAM kGiveBackL = 0;
// How long the game waits for the shell to answer a command.
inline constexpr UINT kCommandTimeoutMs = 2000;

// The shell's lock flag: a DWORD under HKEY_LOCAL_MACHINE, nonzero while locked.
inline constexpr const WCHAR* kLockKey = u"System\\State\\MiniOneShell";
inline constexpr const WCHAR* kLockValue = u"IsLockState";

// The USB function driver: its device class, the control code that hands it the
// number of the registered message, and that message's name.
inline constexpr GUID kUsbFunctionClass = {
    0xE2BDC372, 0x598F, 0x4619, {0xBC, 0x50, 0x54, 0xB3, 0xF7, 0x84, 0x8D, 0x35}};
inline constexpr DWORD kUsbSetNotifyMessage =
    CTL_CODE(0x22, 0x67, METHOD_BUFFERED, FILE_ANY_ACCESS);
static_assert(kUsbSetNotifyMessage == 0x0022019C);
inline constexpr const WCHAR* kUsbNotifyMessageName = u"UsbNotifyMsgName";
} // namespace ShellProtocol
