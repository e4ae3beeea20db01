#include "ce/CeSharedDir.h"

#include "ce/CePath.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string CeSharedDir::Root() {
    return CePath::DeviceRoot();
}

bool CeSharedDir::MakeDirs(const std::string& path) {
    if (path.empty())
        return false;
    std::string partial;
    size_t pos = 0;
    while (pos != std::string::npos) {
        pos = path.find('/', pos + 1);
        partial = path.substr(0, pos);
        if (partial.empty())
            continue;
        if (::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string CeSharedDir::Path(const std::string& part) {
    std::string root = Root();
    return root.empty() ? "" : root + "/.ce/" + part;
}

std::string CeSharedDir::Get(const std::string& part) {
    std::string root = Root();
    if (root.empty())
        return "";
    std::string dir = root + "/.ce/" + part;
    return MakeDirs(dir) ? dir : "";
}

bool CeSharedDir::ReadFile(const std::string& path, std::string& data) {
    data.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buf[4096];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ::close(fd);
            return n == 0;
        }
        data.append(buf, static_cast<size_t>(n));
        if (data.size() > (1u << 24)) { // no shared file is ever this large
            ::close(fd);
            return false;
        }
    }
}

bool CeSharedDir::ReplaceFile(const std::string& path, const std::string& data, bool durable) {
    std::string tmp = path + ".tmp." + std::to_string(::getpid());
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ::close(fd);
            ::unlink(tmp.c_str());
            return false;
        }
        done += static_cast<size_t>(n);
    }
    bool synced = !durable || ::fsync(fd) == 0;
    bool closed = ::close(fd) == 0;
    if (!synced || !closed || ::rename(tmp.c_str(), path.c_str()) != 0) {
        ::unlink(tmp.c_str());
        return false;
    }
    if (!durable)
        return true;
    std::string dir = path.substr(0, path.rfind('/'));
    int dfd = ::open(dir.empty() ? "/" : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}
