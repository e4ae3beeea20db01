#include "ce/CeRemoteWindowLink.h"

#include "ce/CeMessageQueue.h"
#include "ce/CeRemoteWindowClient.h"
#include "ce/CeWindowTable.h"
#include "ipc/CeRemoteWindowHost.h"
#include "windows/CeLocalWindowUi.h"

#include <mutex>

void CeRemoteWindowLink::Install() {
    static std::once_flag once;
    std::call_once(once, [] {
        static auto* link = new CeRemoteWindowLink; // used by threads until the very end
        static auto* ui = new CeLocalWindowUi;
        // The queue takes its creator for the UI thread: make sure that is this one
        // and not a request thread that queues the first call from outside.
        CeMessageQueue::Instance();
        CeRemoteWindowHost::SetUi(ui);
        CeSetRemoteWindows(link);
        CeWindowTable& table = CeWindowTable::Instance();
        table.AddObserver(link);
        for (HWND h : table.TopLevelWindows())
            link->OnWindowChanged(h, CeWindowChange::Created);
    });
}

HWND CeRemoteWindowLink::Find(LPCWSTR className, LPCWSTR windowName) {
    return CeRemoteWindowClient::Find(className, windowName);
}

bool CeRemoteWindowLink::Owns(HWND hwnd) {
    return CeRemoteWindowClient::IsProxy(hwnd);
}

std::u16string CeRemoteWindowLink::ClassName(HWND hwnd) {
    return CeRemoteWindowClient::ClassName(hwnd);
}

BOOL CeRemoteWindowLink::Show(HWND hwnd, int nCmdShow) {
    return CeRemoteWindowClient::Show(hwnd, nCmdShow);
}

BOOL CeRemoteWindowLink::IsVisible(HWND hwnd) {
    return CeRemoteWindowClient::IsVisible(hwnd);
}

BOOL CeRemoteWindowLink::SetForeground(HWND hwnd) {
    return CeRemoteWindowClient::SetForeground(hwnd);
}

BOOL CeRemoteWindowLink::Post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hwnd == HWND_BROADCAST)
        return CeRemoteWindowClient::Broadcast(msg, wParam, lParam);
    return CeRemoteWindowClient::Post(hwnd, msg, wParam, lParam);
}

BOOL CeRemoteWindowLink::Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT timeoutMs,
                              DWORD_PTR* result) {
    if (hwnd == HWND_BROADCAST)
        return FALSE; // a send goes to one window
    return CeRemoteWindowClient::Send(hwnd, msg, wParam, lParam, timeoutMs, result) != 0;
}

BOOL CeRemoteWindowLink::GetRect(HWND hwnd, RECT* rect) {
    return CeRemoteWindowClient::GetRect(hwnd, rect);
}

void CeRemoteWindowLink::OnWindowChanged(HWND hwnd, CeWindowChange change) {
    CeWindowTable& table = CeWindowTable::Instance();
    switch (change) {
    case CeWindowChange::Created:
    case CeWindowChange::Title:
        if (table.Exists(hwnd) && table.Parent(hwnd) == nullptr)
            CeRemoteWindowHost::Publish(hwnd, table.ClassName(hwnd), table.Title(hwnd));
        break;
    case CeWindowChange::Destroyed:
        CeRemoteWindowHost::Withdraw(hwnd);
        break;
    default:
        break; // visibility and place are asked for when needed
    }
}
