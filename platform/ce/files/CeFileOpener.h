// The hook CreateFileW asks before the file system, for names that are not files:
// the device manager registers the one for the bus names of served devices, so that
// files know nothing of devices.
#pragma once

#include "core/CeInside.h"

#include "ce/CeTypes.h"

// True when the opener took the name, with a handle, or INVALID_HANDLE_VALUE and
// the last error set; false when the name is not its own.
using CeFileOpener = bool (*)(LPCWSTR name, DWORD access, DWORD share, DWORD disposition,
                              HANDLE& handle);
void CeSetFileOpener(CeFileOpener opener); // null removes it
