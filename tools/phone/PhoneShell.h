// `phone shell`: the shell's main window (class "CShellMainWnd") with its message
// loop, no screen. It logs every command message it gets and answers it; with hang
// set it takes the command and never answers, as a shell stuck in its own work.
#pragma once

#include "ce/CeWindowObserver.h"
#include "ce/ce.h"
#include "shell/ShellProtocol.h"

class PhoneShell : public CeWindowObserver {
public:
    static constexpr UINT kCommand = ShellProtocol::kCommand;
    // hang: never answer a command; modal: serve everything from inside a nested
    // message loop, as while a modal dialog is up.
    PhoneShell(bool hang, bool modal) : hang_(hang), modal_(modal) {}
    int Run(); // until a stop signal
    void OnWindowChanged(HWND hwnd, CeWindowChange change) override;

private:
    static LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static constexpr UINT kEnterModal = WM_USER + 100;
    bool hang_;
    bool modal_;
    HWND window_ = nullptr;
};
