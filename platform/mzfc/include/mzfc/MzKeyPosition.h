// Where a key sits on a desktop keyboard, whatever its layout prints on it: the PC
// scan code that WM_KEYDOWN carries in bits 16 to 23 of lParam, with bit 24 (0x100
// here) for the extended keys. A window binds positions to controls (CMzWnd::BindKey);
// the phone has no such keys and never sends them.
#pragma once

namespace MzKeyPosition {
// The letter rows, named after the letters of a US keyboard.
constexpr int kQ = 0x10;
constexpr int kW = 0x11;
constexpr int kE = 0x12;
constexpr int kA = 0x1E;
constexpr int kS = 0x1F;
constexpr int kD = 0x20;
constexpr int kZ = 0x2C;
constexpr int kX = 0x2D;
constexpr int kC = 0x2E;
// The numeric keypad's digits, whether Num Lock is on or off.
constexpr int kPad1 = 0x4F;
constexpr int kPad2 = 0x50;
constexpr int kPad3 = 0x51;
constexpr int kPad4 = 0x4B;
constexpr int kPad5 = 0x4C;
constexpr int kPad6 = 0x4D;
constexpr int kPad7 = 0x47;
constexpr int kPad8 = 0x48;
constexpr int kPad9 = 0x49;
constexpr int kSpace = 0x39;
constexpr int kEnter = 0x1C;
constexpr int kPadEnter = 0x11C;
} // namespace MzKeyPosition
