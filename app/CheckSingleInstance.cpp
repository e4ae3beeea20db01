#include "CheckSingleInstance.h"

#include "ce/ce.h"

namespace {
// The first game takes the name before its window is published. On the phone that
// gap is tiny; on a busy desktop it is not, so a start that finds the name taken
// waits a while for the window before it decides that nobody is running.
constexpr DWORD kWindowWaitMs = 3000;
constexpr DWORD kWindowPollMs = 50;

HWND FindRunningGame() {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND running = FindWindowW(u"MoleMainWnd", nullptr);
        if (running != nullptr || GetTickCount() - start >= kWindowWaitMs) {
            return running;
        }
        Sleep(kWindowPollMs);
    }
}
} // namespace

bool CheckSingleInstance() {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, u"Mole");
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        HWND running = FindRunningGame();
        if (running != nullptr) {
            if (!IsWindowVisible(running)) {
                ShowWindow(running, SW_SHOW);
            }
            SetForegroundWindow(running);
            return false; // the process ends right after, taking the handle with it
        }
        // The name is taken but no game window appeared: start anyway.
    }
    // The handle stays open for the whole run so that the name stays taken.
    if (mutex != nullptr) {
        ReleaseMutex(mutex);
    }
    return true;
}
