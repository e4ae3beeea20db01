// `phone shell`: the shell's main window (class "CShellMainWnd"). It logs every
// command message it gets and answers it; with hang set it takes the command and
// never answers, as a shell stuck in its own work would.
#pragma once

#include "PhoneUiQueue.h"
#include "ce/CeRemoteWindowHost.h"

#include <cstdio>

class PhoneShell : public CeRemoteWindowHost::Ui {
public:
    static constexpr UINT kCommand = 0xFFF0001A;
    explicit PhoneShell(bool hang) : hang_(hang) {}
    int Run(); // until a stop signal

    void Run(std::function<void()> work) override { queue_.Run(std::move(work)); }
    BOOL Show(HWND hwnd, int cmd) override;
    BOOL IsVisible(HWND hwnd) override;
    BOOL SetForeground(HWND hwnd) override;
    LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL Post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL GetRect(HWND hwnd, RECT* rect) override;

private:
    PhoneUiQueue queue_;
    bool hang_;
    bool visible_ = true;
};
