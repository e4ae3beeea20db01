// Clock and local time. In test mode the clock is virtual and moves only when a
// test (or the test-mode message loop) advances it.
#pragma once

#include "ce/CeTypes.h"

void GetLocalTime(LPSYSTEMTIME lpSystemTime);
void GetSystemTime(LPSYSTEMTIME lpSystemTime);
DWORD GetTickCount();
void Sleep(DWORD dwMilliseconds); // on the virtual clock: returns at once, time moves on

// Test-mode clock (not CE API).
void CeClockSetVirtual(bool on);
bool CeClockIsVirtual();
void CeClockAdvance(DWORD ms);                 // virtual clock only
void CeClockSetLocalTime(const SYSTEMTIME* t); // null: the host's local time again
