// The sharing rule of CreateFileW between handles and between processes. Each open
// file description holds shared OFD locks on marker bytes far beyond any data: one
// for each access it has (read, write) and one for each access it denies to others.
// An open is refused when its access meets another's denial or its denial meets
// another's access. A brief flock serialises the check with other openers; one held
// for longer than CeHostFs's time limit counts as a conflict.
#pragma once

#include "core/CeInside.h"

#include "ce/CeTypes.h"

#include <string>

class CeShareLock {
public:
    // fd must be open for reading; what names it on stderr. False with
    // ERROR_SHARING_VIOLATION on a conflict.
    static bool Acquire(int fd, DWORD access, DWORD shareMode, const std::string& what,
                        DWORD& error);
    // True when another open file description of the same file holds any marker.
    static bool InUseByOthers(int fd);
};
