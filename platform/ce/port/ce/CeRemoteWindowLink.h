// Links the windows of this process with those of the other processes of its device
// root: the window functions reach other processes' windows through it, and this
// process's top-level windows are published and answer calls from outside on its
// UI thread. The window functions install it on first use; an entry point may
// install it first to make its own thread the UI thread.
#pragma once

#include "ce/CePort.h"

#include "ce/CeRemoteWindows.h"
#include "ce/CeWindowObserver.h"

class CeRemoteWindowLink : public CeRemoteWindows, public CeWindowObserver {
public:
    // Call on the UI thread; idempotent; the link lives until the process ends.
    static void Install();

    HWND Find(LPCWSTR className, LPCWSTR windowName) override;
    bool Owns(HWND hwnd) override;
    std::u16string ClassName(HWND hwnd) override;
    BOOL Show(HWND hwnd, int nCmdShow) override;
    BOOL IsVisible(HWND hwnd) override;
    BOOL SetForeground(HWND hwnd) override;
    BOOL Post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT timeoutMs,
              DWORD_PTR* result) override;
    BOOL GetRect(HWND hwnd, RECT* rect) override;

    // Keeps this process's top-level windows published.
    void OnWindowChanged(HWND hwnd, CeWindowChange change) override;
};
