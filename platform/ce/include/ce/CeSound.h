// Sound, module and COM services.
#pragma once

#include "ce/CeTypes.h"

// One voice: a new sound cuts off the one playing. A missing file or a machine
// without audio plays nothing and returns FALSE.
BOOL PlaySoundW(LPCWSTR pszSound, HMODULE hmod, DWORD fdwSound);
HMODULE GetModuleHandleW(LPCWSTR lpModuleName);
HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
