// Another local user for trust tests: a child process that becomes uid 65534 and
// holds a lock on a file under the device root until it is ended, as an attacker
// would. Only root can become another user; callers skip
// their test when Available() is false.
#pragma once

#include "testing/TestProcess.h"

#include <string>

class TestOtherUser {
public:
    enum class Lock { Flock, OfdDenyWrite };
    // True when this process may become uid 65534.
    static bool Available();
    // Starts holder as uid 65534 holding `lock` on path (opened read-only); true once
    // the lock is held. The lock goes with the holder.
    static bool Hold(TestProcess& holder, const std::string& path, Lock lock);
};
