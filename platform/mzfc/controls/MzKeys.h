// Key codes in WM_KEYDOWN's wParam (the phone's virtual keys), and the desktop
// key positions its lParam carries.
#pragma once

#include "windows/MzInside.h"

#include "ce/CeTypes.h"

namespace MzKeys {
constexpr int kBack = 0x08;
constexpr int kTab = 0x09;
constexpr int kReturn = 0x0D;
constexpr int kEscape = 0x1B;
constexpr int kSpace = 0x20;
constexpr int kEnd = 0x23;
constexpr int kHome = 0x24;
constexpr int kLeft = 0x25;
constexpr int kUp = 0x26;
constexpr int kRight = 0x27;
constexpr int kDown = 0x28;
constexpr int kDelete = 0x2E;

// The virtual key for an SDL key code; 0 for keys the framework does not use.
int FromSdl(int sdlKeycode);
// The key position (MzKeyPosition) of an SDL scan code; 0 for keys no window binds.
int PositionFromSdl(int sdlScancode);
// WM_KEYDOWN's lParam: the position in bits 16 to 24, bit 30 set for a held key's repeat.
LPARAM KeyData(int sdlScancode, bool repeat);
// Whether an SDL key with its modifiers toggles desktop full screen (F11, Alt+Enter).
bool TogglesFullScreen(int sdlKeycode, int sdlModifiers);
} // namespace MzKeys
