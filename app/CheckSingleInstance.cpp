#include "app/CheckSingleInstance.h"

#include "ce/ce.h"

bool CheckSingleInstance() {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, u"Mole");
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        HWND running = FindWindowW(u"MoleMainWnd", nullptr);
        if (running != nullptr) {
            if (!IsWindowVisible(running)) {
                ShowWindow(running, SW_SHOW);
            }
            SetForegroundWindow(running);
            return false; // the process ends right after, taking the handle with it
        }
        // The name is taken but no game window exists: start anyway.
    }
    // The handle stays open for the whole run so that the name stays taken.
    if (mutex != nullptr) {
        ReleaseMutex(mutex);
    }
    return true;
}
