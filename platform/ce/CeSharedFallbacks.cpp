// Stand-ins, weak so that the real definitions elsewhere in this layer win, for the
// few calls the shared objects need from the file and window parts of the layer.
#include "ce/CeDeviceManager.h"
#include "ce/CeFile.h"
#include "ce/CeHandleTable.h"
#include "ce/CePath.h"
#include "ce/CeRemoteWindowClient.h"
#include "ce/CeWindow.h"

#include <cstdlib>

namespace {
thread_local DWORD lastError = 0;
}

__attribute__((weak)) DWORD GetLastError() {
    return lastError;
}
__attribute__((weak)) void SetLastError(DWORD dwErrCode) {
    lastError = dwErrCode;
}
__attribute__((weak)) BOOL CloseHandle(HANDLE hObject) {
    return CeHandleTable::Close(hObject) ? TRUE : FALSE;
}
__attribute__((weak)) BOOL FindClose(HANDLE hFindFile) {
    return CeHandleTable::Close(hFindFile) ? TRUE : FALSE;
}
__attribute__((weak)) HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess,
                                         DWORD dwShareMode, LPSECURITY_ATTRIBUTES,
                                         DWORD dwCreationDisposition, DWORD, HANDLE) {
    HANDLE h = INVALID_HANDLE_VALUE;
    if (CeDeviceManager::OpenByBusName(lpFileName, dwDesiredAccess, dwShareMode,
                                       dwCreationDisposition, h))
        return h;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
}
__attribute__((weak)) std::string CePath::DeviceRoot() {
    if (const char* root = std::getenv("CE_DEVICE_ROOT"); root != nullptr && *root != 0)
        return root;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg != 0)
        return std::string(xdg) + "/burrowbop/device";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "/tmp") + "/.local/share/burrowbop/device";
}
__attribute__((weak)) void CePath::ResetForTests() {}

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
