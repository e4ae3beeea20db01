// Carries out calls that other processes make on this process's windows: queued
// to the UI thread through its message queue (also served inside modal loops), then
// made as local window calls.
#pragma once

#include "core/CeInside.h"

#include "ipc/CeRemoteWindowHost.h"

class CeLocalWindowUi : public CeRemoteWindowHost::Ui {
public:
    void Run(std::function<void()> work) override;
    BOOL Show(HWND hwnd, int cmd) override;
    BOOL IsVisible(HWND hwnd) override;
    BOOL SetForeground(HWND hwnd) override;
    LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL Post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL GetRect(HWND hwnd, RECT* rect) override;
};
