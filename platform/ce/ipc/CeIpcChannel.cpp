#include "ce/CeIpcChannel.h"

#include "ce/CeProduct.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
socklen_t Address(const std::string& name, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    size_t n = std::min(name.size(), sizeof addr.sun_path - 2);
    std::memcpy(addr.sun_path + 1, name.data(), n); // leading zero: abstract name
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
}

bool ReadExactly(int fd, char* p, size_t n, std::chrono::steady_clock::time_point deadline,
                 bool forever) {
    while (n > 0) {
        int wait = -1;
        if (!forever) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            deadline - std::chrono::steady_clock::now())
                            .count();
            if (left <= 0)
                return false;
            wait = static_cast<int>(left);
        }
        pollfd pfd{fd, POLLIN, 0};
        int rc = ::poll(&pfd, 1, wait);
        if (rc < 0 && errno == EINTR)
            continue;
        if (rc <= 0)
            return false;
        ssize_t got = ::recv(fd, p, n, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        p += got;
        n -= static_cast<size_t>(got);
    }
    return true;
}
} // namespace

std::string CeIpcChannel::SocketName(int pid, uint64_t token) {
    char buf[64];
    snprintf(buf, sizeof buf, "-ce/%d-%016llx", pid, static_cast<unsigned long long>(token));
    return CeProduct::Name() + buf;
}

int CeIpcChannel::Listen(const std::string& name) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_un addr;
    socklen_t len = Address(name, addr);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0 || ::listen(fd, 64) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int CeIpcChannel::Connect(const std::string& name) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_un addr;
    socklen_t len = Address(name, addr);
    int rc;
    do {
        rc = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), len);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0 || !SameUser(fd)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool CeIpcChannel::SameUser(int fd) {
    ucred peer{};
    socklen_t len = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &len) == 0 && len == sizeof peer &&
           peer.uid == ::geteuid();
}

bool CeIpcChannel::Send(int fd, const std::string& payload) {
    if (payload.size() > kMaxFrame)
        return false;
    std::string frame;
    uint32_t n = static_cast<uint32_t>(payload.size());
    for (int i = 0; i < 4; ++i)
        frame.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
    frame += payload;
    size_t done = 0;
    while (done < frame.size()) {
        ssize_t w = ::send(fd, frame.data() + done, frame.size() - done, MSG_NOSIGNAL);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return false;
        done += static_cast<size_t>(w);
    }
    return true;
}

bool CeIpcChannel::Receive(int fd, std::string& payload, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    bool forever = timeoutMs < 0;
    unsigned char head[4];
    if (!ReadExactly(fd, reinterpret_cast<char*>(head), 4, deadline, forever))
        return false;
    uint32_t n =
        head[0] | (head[1] << 8) | (head[2] << 16) | (static_cast<uint32_t>(head[3]) << 24);
    if (n > kMaxFrame)
        return false;
    payload.assign(n, '\0');
    return n == 0 || ReadExactly(fd, payload.data(), n, deadline, forever);
}

bool CeIpcChannel::Call(const std::string& name, const std::string& request, std::string& reply,
                        int timeoutMs) {
    int fd = Connect(name);
    if (fd < 0)
        return false;
    bool ok = Send(fd, request) && Receive(fd, reply, timeoutMs);
    ::close(fd);
    return ok;
}
