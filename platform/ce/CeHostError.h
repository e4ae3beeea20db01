// Host errno values to the CE error codes that GetLastError reports.
#pragma once

#include "ce/CeTypes.h"

#ifndef ERROR_NO_MORE_FILES
#define ERROR_NO_MORE_FILES 18L
#endif
#ifndef ERROR_NEGATIVE_SEEK
#define ERROR_NEGATIVE_SEEK 131L
#endif
#ifndef ERROR_DIR_NOT_EMPTY
#define ERROR_DIR_NOT_EMPTY 145L
#endif
#ifndef ERROR_DIRECTORY
#define ERROR_DIRECTORY 267L
#endif

class CeHostError {
public:
    static DWORD FromErrno(int e);
    // Sets the thread's last error from errno and returns false, for one-line failures.
    static bool Fail();
    static bool Fail(DWORD ceError);
};
