// Windows of other processes. The window functions (FindWindowW, ShowWindow,
// IsWindowVisible, SetForegroundWindow, PostMessageW, SendMessageW,
// SendMessageTimeout, GetWindowRect) look a handle or class name up among the
// windows of this process first and consult the installed CeRemoteWindows (the link
// to the device's other processes unless set otherwise) for anything they do not know.
//
// For the link to other processes:
// - Remote handles must not collide with local ones: local handles stay below
//   kCeFirstRemoteHandle, so hand out values at or above it.
// - To deliver a message that another process posted to a local window, call
//   PostMessageW from any thread (it is queued for the UI thread and wakes its loop).
// - To run a send on the UI thread and wait for its result (honouring a timeout),
//   use CeMessageQueue::InvokeOnUiThread with a task that calls SendMessageW.
// - CeWindowTable::FindByClass / IsVisible / ClassName are thread-safe and may be
//   used from a server thread to answer another process's queries;
//   CeWindowTable::AddObserver tells when local windows come, go, show or hide.
#pragma once

#include "ce/CePort.h"

#include "ce/CeTypes.h"

#include <string>

constexpr uintptr_t kCeFirstRemoteHandle = 0x40000000u;

class CeRemoteWindows {
public:
    virtual ~CeRemoteWindows() = default;
    virtual HWND Find(LPCWSTR className, LPCWSTR windowName) = 0; // null: none
    virtual bool Owns(HWND hwnd) = 0;
    virtual std::u16string ClassName(HWND hwnd) = 0; // for the trace
    virtual BOOL Show(HWND hwnd, int nCmdShow) = 0;
    virtual BOOL IsVisible(HWND hwnd) = 0;
    virtual BOOL SetForeground(HWND hwnd) = 0;
    // hwnd may be HWND_BROADCAST: every window of the other processes.
    virtual BOOL Post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    // Waits at most timeoutMs (INFINITE: no limit); FALSE on timeout or a gone window.
    virtual BOOL Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT timeoutMs,
                      DWORD_PTR* result) = 0;
    virtual BOOL GetRect(HWND hwnd, RECT* rect) = 0;
};

// Not owned; null removes it. Without a call, the first use of a window function
// installs CeRemoteWindowLink.
void CeSetRemoteWindows(CeRemoteWindows* remote);
CeRemoteWindows* CeGetRemoteWindows();
