// An flock on a file under the device root. The kernel drops it when the process
// ends, however it ends, so a lock never outlives its holder. Lock files are opened
// through CeSafeDir: never a link or a FIFO; one of the wrong kind is set aside.
#pragma once

#include "core/CeInside.h"

#include <string>

class CeSafeDir;

class CeFileLock {
public:
    enum class Mode { Shared, Exclusive };
    CeFileLock() = default;
    ~CeFileLock();
    CeFileLock(const CeFileLock&) = delete;
    CeFileLock& operator=(const CeFileLock&) = delete;
    CeFileLock(CeFileLock&& other) noexcept;
    CeFileLock& operator=(CeFileLock&& other) noexcept;

    // Opens (creating if need be) and locks; wait=false fails at once when held, wait
    // waits within CeHostFs's time limit.
    bool Lock(const std::string& path, Mode mode, bool wait);
    bool Lock(const CeSafeDir& dir, const std::string& name, Mode mode, bool wait);
    void Unlock();
    bool Held() const { return fd_ >= 0; }
    // True when the file is locked through any other open file (probe, never waits).
    static bool HeldByOther(const std::string& path);
    static bool HeldByOther(const CeSafeDir& dir, const std::string& name);

private:
    int fd_ = -1;
};
