// The framework's message loops: the application's main loop and the nested loops of
// modal windows. A quit message ends every one of them. When nothing is posted the
// loop reads desktop input and repaints, before any due timer; when nothing at all
// waits it runs, in test mode, the next test step.
#pragma once

#include "windows/MzInside.h"

class CMzApp;
class CMzWnd;

class MzLoop {
public:
    static int RunMain(CMzApp* app);         // until quit; returns its code
    static void RunModal(const bool* ended); // until *ended or quit
    static void PushModal(CMzWnd* wnd);
    static void PopModal(CMzWnd* wnd);
    static CMzWnd* TopModal();
    static bool ReadInput(); // the CE queue's input hook: desktop input, then paint
    static bool Idle();      // the CE queue's idle hook: the next test step
};
