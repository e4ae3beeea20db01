// Test mode: headless video and audio, a virtual clock, taps injected at screen
// pixels, the screen read back, and the platform trace kept in memory.
// A test enables it, then runs the application (or a window) with a script of steps:
// each step runs when the message loop is idle, so modal loops inside handlers are
// driven the same way as the main loop.
#pragma once

#include "mzfc/MzPort.h"

#include "mzfc/mzfc.h"

#include <functional>
#include <string>
#include <vector>

namespace MzTest {

// Before anything of the framework runs: headless, virtual clock, no pacing, no
// animations, in-memory trace.
void Enable();
bool IsEnabled();

using Step = std::function<void()>;

// Runs the registered CMzApp as the entry point does (Init, then the message loop)
// and feeds the script to the loop; posts a quit message when the script runs out.
// Returns the loop's exit code (or 0 when Init returned 0).
int RunApp(std::vector<Step> script);
// Runs just the message loop with a script (for windows a test creates itself).
int RunLoop(std::vector<Step> script);

// Within a step:
void Tap(int x, int y); // press and release at a screen pixel
void Press(int x, int y);
void Release(int x, int y);
// A tap that arrives as a desktop event, made now: the loop reads it before any due
// timer, and a window or control that appears in between does not take it.
void QueueTap(int x, int y);
// Runs the step inside the nth present from now (1: the next), in the middle of
// whatever repaints: e.g. to queue taps while a synchronous slide runs.
void AtPresent(int nth, Step step);
void TypeText(const char16_t* text); // keyboard text into the focused control
// A key going down: SDL's key code (e.g. SDLK_RETURN, SDLK_ESCAPE, SDLK_BACKSPACE; 0
// for none) and scan code (where the key sits: SDL_SCANCODE_Q; 0 for none); repeat: the
// desktop's repeat of a held key.
void KeyPress(int sdlKeycode, int sdlScancode = 0, bool repeat = false);
// Moves the virtual clock forward; due timers fire in deadline order before the next step.
void Advance(DWORD ms);

// The mouse pointer over the window: "system" (the desktop's own), "normal" or
// "pressed" (the program's pictures, MzSetPointerImage) or "hidden" (touch), and a
// pixel of the picture shown (0xAARRGGBB; 0 for the desktop's own or outside).
std::string PointerShown();
uint32_t PointerPixelAt(int x, int y);

// The desktop window minimized (or the page hidden) and shown again, as the display
// reports it: the window timers stand still in between.
void SetHidden(bool hidden);

// The topmost visible window (where keyboard input goes), or null.
CMzWnd* ActiveWindow();

// The screen as last presented.
bool SaveScreenPng(const char* path);
uint32_t PixelAt(int x, int y); // 0xAARRGGBB

// Trace lines since the last clear, without their time stamps, e.g.
// "sound Disk\Programs\Games\burrowbop\sounds\hit.wav", "timer-set 10 990",
// "timer-kill 11", "send CShellMainWnd 0xfff0001a 2 1", "quit 0", "tap 300 200".
// Other lines: "post <class> 0x<message> <wParam> <lParam>", "show <id>",
// "hide <id>", "move <id> <x> <y>", "list <id>", "unlist <id>" (a control entering or
// leaving its window's list), "key <virtual key> <key position>" (both decimal, 0 for
// none), "present".
std::vector<std::string> Trace();
void ClearTrace();

} // namespace MzTest
