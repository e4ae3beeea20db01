// Host errno values to the CE error codes that GetLastError reports.
#pragma once

#include "core/CeInside.h"

#include "ce/CeFile.h"

class CeHostError {
public:
    static DWORD FromErrno(int e);
    // Sets the thread's last error from errno and returns false, for one-line failures.
    static bool Fail();
    static bool Fail(DWORD ceError);
};
