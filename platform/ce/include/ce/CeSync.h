// Named mutex, shared by the processes of one device root.
#pragma once

#include "ce/CeTypes.h"

HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES lpMutexAttributes, BOOL bInitialOwner, LPCWSTR lpName);
BOOL ReleaseMutex(HANDLE hMutex);
