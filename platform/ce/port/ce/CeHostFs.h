// The host calls of the file layer that decide what may be opened, made, locked and
// read, each in one place so that a build for another host can swap it:
//  - a file opens only when it is a regular file, never through a link in its last
//    name and never waiting on a FIFO (non-blocking);
//  - what the game makes is private: folders 0700, files 0600;
//  - no lock is waited on without a time limit, no file is read without a size limit.
#pragma once

#include "ce/CePort.h"

#include <cerrno>
#include <cstddef>
#include <string>
#include <sys/types.h>

class CeHostFs {
public:
    static constexpr mode_t kFileMode = 0600;
    static constexpr mode_t kDirMode = 0700;
    // How long a lock held by another process is waited for. Every lock here is held
    // for a file replace at most, a few milliseconds on a healthy disk.
    static constexpr int kLockWaitMs = 2000;

    // Opens path (relative to dirFd, or AT_FDCWD) with O_NOFOLLOW, O_NONBLOCK and
    // O_CLOEXEC added. -1 with errno; EINVAL when it is not a regular file.
    static int OpenRegular(int dirFd, const std::string& path, int flags, mode_t mode = kFileMode);
    // mkdir(at) with the private mode; an existing folder counts as made.
    static bool MakeDir(int dirFd, const std::string& path);
    // Takes back the group's and others' rights from a folder or file this user owns.
    static void MakePrivate(int fd);
    // flock (op: LOCK_SH or LOCK_EX) within kLockWaitMs. When time runs out: false
    // with errno EWOULDBLOCK and one line on stderr naming `what`; a lock that timed
    // out once is tried only once after that, so a stuck holder costs one wait.
    static bool LockWithin(int fd, int op, const std::string& what);
    // Reads the whole file from its start: false with errno EFBIG (nothing read)
    // when it holds more than limit bytes.
    static bool ReadAll(int fd, size_t limit, std::string& data);
    // Reads at most limit bytes from the start, ignoring the rest.
    static bool ReadUpTo(int fd, size_t limit, std::string& data);

    // A host call again while a signal interrupts it.
    template <typename F> static int NoIntr(F call) {
        int rc;
        do {
            rc = call();
        } while (rc < 0 && errno == EINTR);
        return rc;
    }
};
