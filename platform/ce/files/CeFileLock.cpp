#include "files/CeFileLock.h"

#include "ce/CeHostFs.h"
#include "files/CeSafeDir.h"

#include <cerrno>
#include <sys/file.h>
#include <unistd.h>

CeFileLock::~CeFileLock() {
    Unlock();
}

CeFileLock::CeFileLock(CeFileLock&& other) noexcept : fd_(other.fd_) {
    other.fd_ = -1;
}

CeFileLock& CeFileLock::operator=(CeFileLock&& other) noexcept {
    if (this != &other) {
        Unlock();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

bool CeFileLock::Lock(const std::string& path, Mode mode, bool wait) {
    std::string name;
    const CeSafeDir dir = CeSafeDir::OpenParent(path, name);
    return Lock(dir, name, mode, wait);
}

bool CeFileLock::Lock(const CeSafeDir& dir, const std::string& name, Mode mode, bool wait) {
    Unlock();
    int fd = dir.OpenOrMake(name, O_RDWR);
    if (fd < 0)
        return false;
    const int op = mode == Mode::Shared ? LOCK_SH : LOCK_EX;
    int rc;
    if (wait) {
        rc = CeHostFs::LockWithin(fd, op, dir.Path() + "/" + name) ? 0 : -1;
    } else {
        do {
            rc = ::flock(fd, op | LOCK_NB);
        } while (rc != 0 && errno == EINTR);
    }
    if (rc != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void CeFileLock::Unlock() {
    if (fd_ >= 0) {
        ::close(fd_); // closing drops the flock
        fd_ = -1;
    }
}

bool CeFileLock::HeldByOther(const std::string& path) {
    std::string name;
    const CeSafeDir dir = CeSafeDir::OpenParent(path, name);
    return HeldByOther(dir, name);
}

bool CeFileLock::HeldByOther(const CeSafeDir& dir, const std::string& name) {
    int fd = dir.OpenFile(name, O_RDONLY);
    if (fd < 0)
        return false;
    bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}
