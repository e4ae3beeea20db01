// Windows of the other processes of the device, as this process calls them. A found
// window gets a proxy HWND of this process that names the process and its window;
// calls on a proxy travel to that process's UI thread. A window whose process has
// ended is never found, and calls on its proxy fail.
#pragma once

#include "ce/CePort.h"

#include "ce/CeTypes.h"

#include <string>
#include <vector>

class CeRemoteWindowClient {
public:
    struct Listing {
        int pid = 0;
        std::u16string className;
        std::u16string title;
    };
    // Newest top-level window of another process matching the class and title (a
    // null class or title matches any), as a proxy; null when none.
    static HWND Find(LPCWSTR className, LPCWSTR title);
    static bool IsProxy(HWND hwnd);
    static BOOL Show(HWND proxy, int cmd);
    static BOOL IsVisible(HWND proxy);
    static BOOL SetForeground(HWND proxy);
    static BOOL GetRect(HWND proxy, RECT* rect);
    static std::u16string ClassName(HWND proxy); // "" for an unknown proxy
    static BOOL Post(HWND proxy, UINT msg, WPARAM wParam, LPARAM lParam);
    // Posts to every top-level window of every other process of the device.
    static BOOL Broadcast(UINT msg, WPARAM wParam, LPARAM lParam);
    // Nonzero when the target's UI thread handled the message within timeoutMs
    // (INFINITE waits); 0 on timeout or when the window or its process is gone.
    static LRESULT Send(HWND proxy, UINT msg, WPARAM wParam, LPARAM lParam, UINT timeoutMs,
                        DWORD_PTR* result);
    static std::vector<Listing> List(); // every window of every living process
};
