// The message functions over CeMessageQueue (this process) and CeRemoteWindows
// (other processes).
#include "ce/CeWindow.h"

#include "ce/CeMessageQueue.h"
#include "ce/CeRemoteWindows.h"
#include "ce/CeTimerQueue.h"
#include "ce/CeTrace.h"
#include "ce/CeUiClock.h"
#include "ce/CeUtf16.h"
#include "ce/CeWindowTable.h"

#include <cstdio>

namespace {

std::string TargetName(HWND hwnd) {
    if (hwnd == HWND_BROADCAST)
        return "broadcast";
    CeWindowTable& table = CeWindowTable::Instance();
    if (table.Exists(hwnd))
        return CeUtf16::ToUtf8(table.ClassName(hwnd));
    CeRemoteWindows* remote = CeGetRemoteWindows();
    if (remote && hwnd && remote->Owns(hwnd))
        return CeUtf16::ToUtf8(remote->ClassName(hwnd));
    return "?";
}

void TraceMessage(const char* kind, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!CeTrace::Enabled())
        return;
    char tail[96];
    std::snprintf(tail, sizeof tail, " 0x%x %llu %lld", msg,
                  static_cast<unsigned long long>(wParam), static_cast<long long>(lParam));
    CeTrace::Write(std::string(kind) + " " + TargetName(hwnd) + tail);
}

MSG MakeMsg(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return MSG{hwnd, msg, wParam, lParam, static_cast<DWORD>(CeUiClock::NowUs() / 1000), {0, 0}};
}

} // namespace

BOOL GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (!lpMsg)
        return FALSE;
    CeMessageQueue& queue = CeMessageQueue::Instance();
    // As on the phone: posted messages, then input, then a timer only when nothing
    // else waits, so that a slow timer handler cannot keep input out.
    for (;;) {
        if (queue.PeekQueued(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true))
            return lpMsg->message != WM_QUIT;
        if (queue.RunInputHook())
            continue;
        if (queue.PeekTimer(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true))
            return TRUE;
        if (queue.RunIdleHook())
            continue;
        queue.WaitForWork();
    }
}

BOOL PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (!lpMsg)
        return FALSE;
    return CeMessageQueue::Instance().Peek(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax,
                                           (wRemoveMsg & PM_REMOVE) != 0);
}

BOOL TranslateMessage(const MSG*) {
    return FALSE;
}

LRESULT DispatchMessageW(const MSG* lpMsg) {
    if (!lpMsg)
        return 0;
    LPARAM lParam = lpMsg->lParam;
    if (lpMsg->message == WM_TIMER && lParam) {
        // A WM_TIMER may have been posted by anyone: its lParam is called only when
        // this process set that very procedure for that window and id.
        auto proc = reinterpret_cast<TIMERPROC>(lParam);
        auto id = static_cast<UINT_PTR>(lpMsg->wParam);
        if (CeTimerQueue::Instance().Registered(lpMsg->hwnd, id, proc)) {
            proc(lpMsg->hwnd, WM_TIMER, id, lpMsg->time);
            return 0;
        }
        lParam = 0; // an ordinary WM_TIMER for the window, if there is one
    }
    if (!lpMsg->hwnd)
        return 0;
    return CeWindowTable::Instance().Call(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lParam);
}

void PostQuitMessage(int nExitCode) {
    if (CeTrace::Enabled())
        CeTrace::Write("quit " + std::to_string(nExitCode));
    CeMessageQueue::Instance().PostQuit(nExitCode);
}

BOOL PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    TraceMessage("post", hWnd, Msg, wParam, lParam);
    CeWindowTable& table = CeWindowTable::Instance();
    CeMessageQueue& queue = CeMessageQueue::Instance();
    CeRemoteWindows* remote = CeGetRemoteWindows();
    if (hWnd == HWND_BROADCAST) {
        for (HWND h : table.TopLevelWindows())
            queue.Post(MakeMsg(h, Msg, wParam, lParam));
        if (remote)
            remote->Post(HWND_BROADCAST, Msg, wParam, lParam);
        return TRUE;
    }
    if (!hWnd) {
        queue.Post(MakeMsg(nullptr, Msg, wParam, lParam)); // a thread message
        return TRUE;
    }
    if (table.Exists(hWnd)) {
        queue.Post(MakeMsg(hWnd, Msg, wParam, lParam));
        return TRUE;
    }
    if (remote && remote->Owns(hWnd))
        return remote->Post(hWnd, Msg, wParam, lParam);
    return FALSE;
}

static bool SendLocal(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam, int timeoutMs,
                      LRESULT* result) {
    CeWindowTable& table = CeWindowTable::Instance();
    CeMessageQueue& queue = CeMessageQueue::Instance();
    if (queue.IsUiThread()) {
        *result = table.Call(hWnd, Msg, wParam, lParam);
        return true;
    }
    auto out = std::make_shared<LRESULT>(0);
    bool done = queue.InvokeOnUiThread(
        [=] { *out = CeWindowTable::Instance().Call(hWnd, Msg, wParam, lParam); }, timeoutMs);
    *result = done ? *out : 0;
    return done;
}

LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    TraceMessage("send", hWnd, Msg, wParam, lParam);
    CeWindowTable& table = CeWindowTable::Instance();
    LRESULT result = 0;
    if (hWnd == HWND_BROADCAST) {
        for (HWND h : table.TopLevelWindows())
            SendLocal(h, Msg, wParam, lParam, -1, &result);
        return 0;
    }
    if (table.Exists(hWnd)) {
        SendLocal(hWnd, Msg, wParam, lParam, -1, &result);
        return result;
    }
    CeRemoteWindows* remote = CeGetRemoteWindows();
    DWORD_PTR remoteResult = 0;
    if (remote && hWnd && remote->Owns(hWnd) &&
        remote->Send(hWnd, Msg, wParam, lParam, INFINITE, &remoteResult))
        return static_cast<LRESULT>(remoteResult);
    return 0;
}

LRESULT SendMessageTimeout(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam, UINT, UINT uTimeout,
                           DWORD_PTR* lpdwResult) {
    TraceMessage("send", hWnd, Msg, wParam, lParam);
    if (lpdwResult)
        *lpdwResult = 0;
    CeWindowTable& table = CeWindowTable::Instance();
    if (table.Exists(hWnd)) {
        LRESULT result = 0;
        int timeout = uTimeout == INFINITE ? -1 : static_cast<int>(uTimeout & 0x7FFFFFFF);
        if (!SendLocal(hWnd, Msg, wParam, lParam, timeout, &result))
            return 0;
        if (lpdwResult)
            *lpdwResult = static_cast<DWORD_PTR>(result);
        return 1;
    }
    CeRemoteWindows* remote = CeGetRemoteWindows();
    if (!remote || !hWnd || (hWnd != HWND_BROADCAST && !remote->Owns(hWnd)))
        return 0;
    DWORD_PTR result = 0;
    if (!remote->Send(hWnd, Msg, wParam, lParam, uTimeout, &result))
        return 0;
    if (lpdwResult)
        *lpdwResult = result;
    return 1;
}
