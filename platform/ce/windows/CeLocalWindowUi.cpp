#include "windows/CeLocalWindowUi.h"

#include "ce/CeMessageQueue.h"
#include "ce/CeWindow.h"

void CeLocalWindowUi::Run(std::function<void()> work) {
    CeMessageQueue::Instance().RunOnUiThread(std::move(work));
}

BOOL CeLocalWindowUi::Show(HWND hwnd, int cmd) {
    return ShowWindow(hwnd, cmd);
}

BOOL CeLocalWindowUi::IsVisible(HWND hwnd) {
    return IsWindowVisible(hwnd);
}

BOOL CeLocalWindowUi::SetForeground(HWND hwnd) {
    return SetForegroundWindow(hwnd);
}

LRESULT CeLocalWindowUi::Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(hwnd, msg, wParam, lParam);
}

BOOL CeLocalWindowUi::Post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return PostMessageW(hwnd, msg, wParam, lParam);
}

BOOL CeLocalWindowUi::GetRect(HWND hwnd, RECT* rect) {
    return GetWindowRect(hwnd, rect);
}
