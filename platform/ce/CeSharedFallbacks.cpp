// Stand-ins, weak so that the real definitions elsewhere in this layer win, for the
// window calls that reach other processes.
#include "ce/CeRemoteWindowClient.h"
#include "ce/CeWindow.h"

// Windows of other processes, until the window part of this layer is present.
__attribute__((weak)) HWND FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName) {
    return CeRemoteWindowClient::Find(lpClassName, lpWindowName);
}
__attribute__((weak)) BOOL ShowWindow(HWND hWnd, int nCmdShow) {
    return CeRemoteWindowClient::Show(hWnd, nCmdShow);
}
__attribute__((weak)) BOOL IsWindowVisible(HWND hWnd) {
    return CeRemoteWindowClient::IsVisible(hWnd);
}
__attribute__((weak)) BOOL SetForegroundWindow(HWND hWnd) {
    return CeRemoteWindowClient::SetForeground(hWnd);
}
__attribute__((weak)) BOOL PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd == HWND_BROADCAST)
        return CeRemoteWindowClient::Broadcast(Msg, wParam, lParam);
    return CeRemoteWindowClient::Post(hWnd, Msg, wParam, lParam);
}
__attribute__((weak)) LRESULT SendMessageTimeout(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam,
                                                 UINT, UINT uTimeout, DWORD_PTR* lpdwResult) {
    return CeRemoteWindowClient::Send(hWnd, Msg, wParam, lParam, uTimeout, lpdwResult);
}
