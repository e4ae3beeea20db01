#include "files/CeSafeDir.h"

#include "ce/CeHostFs.h"
#include "ce/CeNotice.h"
#include "ce/CePath.h"
#include "ce/CePersist.h"
#include "files/CeHostCalls.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {
int OpenChildDir(int parent, const std::string& name) {
    return CeHostFs::NoIntr([&] {
        return ::openat(parent, name.c_str(),
                        O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    });
}

std::string UniqueSuffix() {
    static std::atomic<unsigned> counter{0};
    static const unsigned long long salt = [] {
        std::random_device rd;
        return (static_cast<unsigned long long>(rd()) << 32) ^ rd();
    }();
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d-%llx-%u", static_cast<int>(::getpid()), salt,
                  counter.fetch_add(1));
    return buf;
}
} // namespace

CeSafeDir::~CeSafeDir() {
    if (fd_ >= 0)
        ::close(fd_);
}

CeSafeDir::CeSafeDir(CeSafeDir&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)) {
    other.fd_ = -1;
}

CeSafeDir& CeSafeDir::operator=(CeSafeDir&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.fd_;
        path_ = std::move(other.path_);
        other.fd_ = -1;
    }
    return *this;
}

CeSafeDir CeSafeDir::Open(const std::string& path, bool repair) {
    const std::string root = CePath::DeviceRoot();
    if (root.empty() || path.compare(0, root.size(), root) != 0 ||
        (path.size() > root.size() && path[root.size()] != '/')) {
        errno = EINVAL;
        return CeSafeDir();
    }
    if (repair)
        CeHostFs::MakeDir(AT_FDCWD, root); // the root's own parents are the user's business
    CeSafeDir dir(
        CeHostFs::NoIntr([&] { return ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }),
        root);
    size_t pos = root.size();
    if (dir.Valid() && pos + 1 < path.size()) {
        int fd = CeHostCalls::OpenBeneath(dir.fd_, path.substr(pos + 1));
        if (fd >= 0)
            return CeSafeDir(fd, path);
        if (!repair && errno != ENOSYS && errno != EPERM)
            return CeSafeDir();
    }
    while (dir.Valid() && pos < path.size()) {
        size_t end = path.find('/', pos + 1);
        std::string name = path.substr(pos + 1, end == std::string::npos ? end : end - pos - 1);
        pos = end == std::string::npos ? path.size() : end;
        if (name.empty() || name == ".")
            continue;
        if (name == "..") {
            errno = EINVAL;
            return CeSafeDir();
        }
        int fd = OpenChildDir(dir.fd_, name);
        // Only what is in the way is set aside, never a folder that a passing
        // shortage (of descriptors, say) kept us from opening.
        if (fd < 0 && repair &&
            (errno == ENOENT || errno == ELOOP || errno == ENOTDIR || errno == EACCES)) {
            int why = errno;
            if (why != ENOENT)
                dir.SetAside(name, why == ELOOP     ? "a link"
                                   : why == ENOTDIR ? "not a folder"
                                                    : "unreadable");
            if (CeHostFs::MakeDir(dir.fd_, name) || errno == EEXIST)
                fd = OpenChildDir(dir.fd_, name);
        }
        dir = CeSafeDir(fd, dir.path_ + "/" + name);
    }
    return dir;
}

int CeSafeDir::OpenFile(const std::string& name, int flags, mode_t mode) const {
    if (fd_ < 0 || name.empty() || name.find('/') != std::string::npos) {
        errno = EINVAL;
        return -1;
    }
    return CeHostFs::OpenRegular(fd_, name, flags, mode);
}

int CeSafeDir::OpenOrMake(const std::string& name, int flags) const {
    int fd = OpenFile(name, flags | O_CREAT);
    if (fd < 0 &&
        (errno == EINVAL || errno == ELOOP || errno == EISDIR || errno == ENXIO ||
         errno == EACCES) &&
        SetAside(name, "not a regular file"))
        fd = OpenFile(name, flags | O_CREAT);
    return fd;
}

bool CeSafeDir::Read(const std::string& name, std::string& data, size_t limit) const {
    data.clear();
    int fd = OpenFile(name, O_RDONLY);
    if (fd < 0)
        return false;
    const bool ok = CeHostFs::ReadAll(fd, limit, data);
    ::close(fd);
    return ok;
}

bool CeSafeDir::Replace(const std::string& name, const std::string& data, bool durable) const {
    std::string tmp = name + ".tmp." + UniqueSuffix();
    int fd = OpenFile(tmp, O_WRONLY | O_CREAT | O_EXCL);
    if (fd < 0)
        return false;
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    bool ok = done == data.size() && (!durable || ::fsync(fd) == 0);
    ok = ::close(fd) == 0 && ok;
    if (ok && ::renameat(fd_, tmp.c_str(), fd_, name.c_str()) != 0) {
        // A folder in the way: a damaged root, repaired on the spot.
        ok = (errno == EISDIR || errno == ENOTEMPTY || errno == EEXIST) &&
             SetAside(name, "a folder") && ::renameat(fd_, tmp.c_str(), fd_, name.c_str()) == 0;
    }
    if (!ok) {
        ::unlinkat(fd_, tmp.c_str(), 0);
        return false;
    }
    if (durable)
        ::fsync(fd_);
    CePersist::Changed();
    return true;
}

bool CeSafeDir::Remove(const std::string& name) const {
    if (fd_ < 0 || name.find('/') != std::string::npos || ::unlinkat(fd_, name.c_str(), 0) != 0)
        return false;
    CePersist::Changed();
    return true;
}

bool CeSafeDir::SetAside(const std::string& name, const char* why) const {
    std::string aside = name + ".aside-" + UniqueSuffix();
    if (fd_ < 0 || ::renameat(fd_, name.c_str(), fd_, aside.c_str()) != 0)
        return false;
    // Every aside name is new, so each one is told.
    CeNotice::Once(aside, path_ + "/" + name + " was " + why + "; set aside as " + aside +
                              " and made anew");
    return true;
}

std::vector<std::string> CeSafeDir::List() const {
    std::vector<std::string> names;
    int fd = fd_ < 0 ? -1 : OpenChildDir(fd_, ".");
    DIR* d = fd < 0 ? nullptr : ::fdopendir(fd);
    if (d == nullptr) {
        if (fd >= 0)
            ::close(fd);
        return names;
    }
    while (dirent* ent = ::readdir(d)) {
        std::string name = ent->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(d);
    return names;
}

CeSafeDir CeSafeDir::OpenParent(const std::string& path, std::string& name) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        errno = EINVAL;
        return CeSafeDir();
    }
    name = path.substr(slash + 1);
    return Open(path.substr(0, slash), false);
}
