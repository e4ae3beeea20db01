#include "files/CeShareLock.h"

#include "ce/CeHostFs.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr off_t kBase = static_cast<off_t>(0x7FFFFFFF00000000LL);
constexpr off_t kAccessRead = kBase + 0;
constexpr off_t kAccessWrite = kBase + 1;
constexpr off_t kDenyRead = kBase + 2;
constexpr off_t kDenyWrite = kBase + 3;

bool HeldByOthers(int fd, off_t start, off_t len) {
    struct flock fl = {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = start;
    fl.l_len = len;
    if (fcntl(fd, F_OFD_GETLK, &fl) != 0)
        return false;
    return fl.l_type != F_UNLCK;
}

void Mark(int fd, off_t at) {
    struct flock fl = {};
    fl.l_type = F_RDLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = at;
    fl.l_len = 1;
    fcntl(fd, F_OFD_SETLK, &fl);
}

// Other openers hold it for a moment; one that holds it longer is not waited for.
class Serialiser {
public:
    Serialiser(int fd, const std::string& what) : fd_(fd) {
        held_ = CeHostFs::LockWithin(fd_, LOCK_EX, what);
    }
    ~Serialiser() {
        if (held_)
            flock(fd_, LOCK_UN);
    }
    bool Held() const { return held_; }

private:
    int fd_;
    bool held_ = false;
};

} // namespace

bool CeShareLock::Acquire(int fd, DWORD access, DWORD shareMode, const std::string& what,
                          DWORD& error) {
    const bool read = access & GENERIC_READ;
    const bool write = access & GENERIC_WRITE;
    const bool denyRead = !(shareMode & FILE_SHARE_READ);
    const bool denyWrite = !(shareMode & FILE_SHARE_WRITE);
    Serialiser serialise(fd, what);
    if (!serialise.Held() || (read && HeldByOthers(fd, kDenyRead, 1)) ||
        (write && HeldByOthers(fd, kDenyWrite, 1)) ||
        (denyRead && HeldByOthers(fd, kAccessRead, 1)) ||
        (denyWrite && HeldByOthers(fd, kAccessWrite, 1))) {
        error = ERROR_SHARING_VIOLATION;
        return false;
    }
    // Shared markers never conflict with each other; a file system without locks just
    // goes without them.
    if (read)
        Mark(fd, kAccessRead);
    if (write)
        Mark(fd, kAccessWrite);
    if (denyRead)
        Mark(fd, kDenyRead);
    if (denyWrite)
        Mark(fd, kDenyWrite);
    return true;
}

bool CeShareLock::InUseByOthers(int fd) {
    return HeldByOthers(fd, kBase, 4);
}
