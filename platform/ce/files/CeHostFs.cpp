#include "ce/CeHostFs.h"

#include "ce/CeNotice.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

// Files whose lock timed out once: (device, inode).
struct Stuck {
    std::mutex lock;
    std::set<std::pair<dev_t, ino_t>> files;
};

Stuck& TheStuck() {
    static Stuck* s = new Stuck; // locks are taken in static destructors too
    return *s;
}

bool TryLock(int fd, int op) {
    return CeHostFs::NoIntr([&] { return ::flock(fd, op | LOCK_NB); }) == 0;
}

} // namespace

int CeHostFs::OpenRegular(int dirFd, const std::string& path, int flags, mode_t mode) {
    int fd = NoIntr([&] {
        return ::openat(dirFd, path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode);
    });
    if (fd < 0) {
        if (errno == ENXIO || errno == ENODEV) // a socket, a FIFO without a reader, a device
            errno = EINVAL;
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

bool CeHostFs::MakeDir(int dirFd, const std::string& path) {
    if (::mkdirat(dirFd, path.c_str(), kDirMode) == 0)
        return true;
    struct stat st {};
    const int err = errno;
    if (err == EEXIST && ::fstatat(dirFd, path.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISDIR(st.st_mode))
        return true;
    errno = err;
    return false;
}

void CeHostFs::MakePrivate(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) == 0 && (S_ISDIR(st.st_mode) || S_ISREG(st.st_mode)) &&
        st.st_uid == ::geteuid() && (st.st_mode & 077) != 0)
        ::fchmod(fd, st.st_mode & 07700);
}

bool CeHostFs::LockWithin(int fd, int op, const std::string& what) {
    if (TryLock(fd, op))
        return true;
    if (errno != EWOULDBLOCK)
        return false;
    struct stat st {};
    const bool known = ::fstat(fd, &st) == 0;
    const auto id = std::make_pair(st.st_dev, st.st_ino);
    Stuck& stuck = TheStuck();
    {
        std::lock_guard<std::mutex> guard(stuck.lock);
        if (known && stuck.files.count(id) != 0) {
            errno = EWOULDBLOCK;
            return false;
        }
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLockWaitMs);
    auto pause = std::chrono::milliseconds(1);
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
        if (TryLock(fd, op))
            return true;
        if (errno != EWOULDBLOCK)
            return false;
    }
    if (known) {
        std::lock_guard<std::mutex> guard(stuck.lock);
        stuck.files.insert(id);
    }
    CeNotice::Once("lock " + what, "another process has held " + what + " for over " +
                                       std::to_string(kLockWaitMs / 1000) +
                                       " s; going on without it");
    errno = EWOULDBLOCK;
    return false;
}

bool CeHostFs::ReadAll(int fd, size_t limit, std::string& data) {
    data.clear();
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    if (static_cast<unsigned long long>(st.st_size) > limit) {
        errno = EFBIG;
        return false;
    }
    if (!ReadUpTo(fd, limit + 1, data))
        return false;
    if (data.size() > limit) { // grew while read
        data.clear();
        errno = EFBIG;
        return false;
    }
    return true;
}

bool CeHostFs::ReadUpTo(int fd, size_t limit, std::string& data) {
    data.clear();
    char buf[16384];
    off_t at = 0;
    while (data.size() < limit) {
        const size_t want = std::min(sizeof buf, limit - data.size());
        ssize_t n = ::pread(fd, buf, want, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        data.append(buf, static_cast<size_t>(n));
        at += n;
    }
    return true;
}
