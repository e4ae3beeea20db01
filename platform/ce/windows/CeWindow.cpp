// The window functions: local windows from CeWindowTable, other processes' windows
// through the installed CeRemoteWindows.
#include "ce/CeWindow.h"

#include "ce/CeRemoteWindowLink.h"
#include "ce/CeRemoteWindows.h"
#include "ce/CeTimerQueue.h"
#include "ce/CeUtf16.h"
#include "ce/CeWindowTable.h"

#include <atomic>

namespace {

std::atomic<CeRemoteWindows*> g_remote{nullptr};
std::atomic<bool> g_chosen{false}; // set by CeSetRemoteWindows, the link's own included

// As on the phone every program sees every window: the link to the other processes
// is made on the first use of a window function, unless one was set explicitly.
CeRemoteWindows* Remote() {
    if (!g_chosen.load())
        CeRemoteWindowLink::Install();
    return g_remote.load();
}

std::u16string Text(LPCWSTR s) {
    return s ? std::u16string(s) : std::u16string();
}

CeRemoteWindows* RemoteFor(HWND hwnd) {
    CeRemoteWindows* remote = Remote();
    return remote && hwnd && remote->Owns(hwnd) ? remote : nullptr;
}

} // namespace

void CeSetRemoteWindows(CeRemoteWindows* remote) {
    g_remote = remote;
    g_chosen = true;
}
CeRemoteWindows* CeGetRemoteWindows() {
    return Remote();
}

BOOL RegisterClassW(const WNDCLASSW* wc) {
    if (!wc || !wc->lpszClassName || !wc->lpfnWndProc)
        return FALSE;
    return CeWindowTable::Instance().RegisterClass(wc->lpszClassName, wc->lpfnWndProc);
}

HWND CreateWindowExW(DWORD, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int x, int y,
                     int nWidth, int nHeight, HWND hWndParent, void*, HINSTANCE, LPVOID lpParam) {
    if (!lpClassName || nWidth < 0 || nHeight < 0)
        return nullptr;
    RECT rect{x, y, x + nWidth, y + nHeight};
    HWND hwnd = CeWindowTable::Instance().Create(Text(lpClassName), Text(lpWindowName), dwStyle,
                                                 rect, hWndParent, lpParam);
    if (hwnd && !hWndParent)
        Remote(); // published for the other processes from the start
    if (hwnd)
        CeWindowTable::Instance().Call(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(lpParam));
    return hwnd;
}

BOOL DestroyWindow(HWND hWnd) {
    CeWindowTable& table = CeWindowTable::Instance();
    if (!table.Exists(hWnd))
        return FALSE;
    table.Call(hWnd, WM_DESTROY, 0, 0);
    CeTimerQueue::Instance().KillAll(hWnd);
    return table.Destroy(hWnd);
}

BOOL IsWindow(HWND hWnd) {
    return CeWindowTable::Instance().Exists(hWnd);
}

LRESULT DefWindowProcW(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

HWND FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName) {
    if (!lpClassName && !lpWindowName)
        return nullptr;
    std::u16string title = Text(lpWindowName);
    HWND local =
        CeWindowTable::Instance().FindByClass(Text(lpClassName), lpWindowName ? &title : nullptr);
    if (local)
        return local;
    CeRemoteWindows* remote = Remote();
    return remote ? remote->Find(lpClassName, lpWindowName) : nullptr;
}

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
    CeWindowTable& table = CeWindowTable::Instance();
    if (table.Exists(hWnd)) {
        BOOL wasVisible = table.IsVisible(hWnd);
        table.SetVisible(hWnd, nCmdShow != SW_HIDE);
        return wasVisible;
    }
    CeRemoteWindows* remote = RemoteFor(hWnd);
    return remote ? remote->Show(hWnd, nCmdShow) : FALSE;
}

BOOL IsWindowVisible(HWND hWnd) {
    CeWindowTable& table = CeWindowTable::Instance();
    if (table.Exists(hWnd))
        return table.IsVisible(hWnd);
    CeRemoteWindows* remote = RemoteFor(hWnd);
    return remote ? remote->IsVisible(hWnd) : FALSE;
}

BOOL SetForegroundWindow(HWND hWnd) {
    if (CeWindowTable::Instance().SetForeground(hWnd))
        return TRUE;
    CeRemoteWindows* remote = RemoteFor(hWnd);
    return remote ? remote->SetForeground(hWnd) : FALSE;
}

BOOL SetWindowPos(HWND hWnd, HWND, int X, int Y, int cx, int cy, UINT) {
    if (cx < 0 || cy < 0)
        return FALSE;
    return CeWindowTable::Instance().SetRect(hWnd, RECT{X, Y, X + cx, Y + cy});
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) {
    if (!lpRect)
        return FALSE;
    if (CeWindowTable::Instance().GetRect(hWnd, *lpRect))
        return TRUE;
    CeRemoteWindows* remote = RemoteFor(hWnd);
    return remote ? remote->GetRect(hWnd, lpRect) : FALSE;
}

BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
    return CeWindowTable::Instance().SetTitle(hWnd, Text(lpString));
}
