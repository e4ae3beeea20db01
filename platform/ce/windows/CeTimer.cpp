#include "ce/CeWindow.h"

#include "ce/CeTimerQueue.h"
#include "ce/CeTrace.h"
#include "ce/CeWindowTable.h"

#include <string>

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
    if (hWnd && !CeWindowTable::Instance().Exists(hWnd))
        return 0;
    UINT_PTR id = CeTimerQueue::Instance().Set(hWnd, nIDEvent, uElapse, lpTimerFunc);
    if (CeTrace::Enabled())
        CeTrace::Write("timer-set " + std::to_string(id) + " " + std::to_string(uElapse));
    return id;
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
    if (CeTrace::Enabled())
        CeTrace::Write("timer-kill " + std::to_string(uIDEvent));
    return CeTimerQueue::Instance().Kill(hWnd, uIDEvent);
}
