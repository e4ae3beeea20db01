#include "ce/CeIpcChannel.h"

#include "ce/CeProduct.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;
using Result = CeIpcChannel::Result;

// A point in time, or none (a wait without limit, asked for by the caller).
struct Deadline {
    Clock::time_point at;
    bool none = false;
    static Deadline In(int ms) {
        return Deadline{Clock::now() + std::chrono::milliseconds(std::max(ms, 0)), ms < 0};
    }
    // Milliseconds left for poll: -1 for none, 0 once passed.
    int Left() const {
        if (none)
            return -1;
        auto left = std::chrono::ceil<std::chrono::milliseconds>(at - Clock::now()).count();
        return static_cast<int>(std::clamp<long long>(left, 0, 0x7FFFFFFF));
    }
};

socklen_t Address(const std::string& name, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    size_t n = std::min(name.size(), sizeof addr.sun_path - 2);
    std::memcpy(addr.sun_path + 1, name.data(), n); // leading zero: abstract name
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
}

// Waits until fd is ready for events or the deadline passes.
Result Ready(int fd, short events, const Deadline& deadline) {
    for (;;) {
        pollfd pfd{fd, events, 0};
        int rc = ::poll(&pfd, 1, deadline.Left());
        if (rc > 0)
            return Result::kOk;
        if (rc == 0)
            return Result::kTimedOut;
        if (errno != EINTR)
            return Result::kFailed;
    }
}

// Waits for bytes, then reads up to n of those that are there.
Result ReadSome(int fd, char* p, size_t n, const Deadline& deadline, size_t& got) {
    for (;;) {
        if (Result ready = Ready(fd, POLLIN, deadline); ready != Result::kOk)
            return ready;
        ssize_t r = ::recv(fd, p, n, MSG_DONTWAIT);
        if (r > 0) {
            got = static_cast<size_t>(r);
            return Result::kOk;
        }
        if (r == 0 || (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK))
            return Result::kFailed; // the other end closed, or an error
    }
}

Result ReadExactly(int fd, char* p, size_t n, const Deadline& deadline) {
    while (n > 0) {
        size_t got = 0;
        if (Result r = ReadSome(fd, p, n, deadline, got); r != Result::kOk)
            return r;
        p += got;
        n -= got;
    }
    return Result::kOk;
}

// The length first; then the body, which grows only as its bytes come in.
Result ReadFrame(int fd, std::string& payload, const Deadline& first, int wholeMs) {
    payload.clear();
    unsigned char head[4];
    size_t got = 0;
    if (Result r = ReadSome(fd, reinterpret_cast<char*>(head), 4, first, got); r != Result::kOk)
        return r;
    const Deadline whole = wholeMs < 0 ? first : Deadline::In(wholeMs);
    if (Result r = ReadExactly(fd, reinterpret_cast<char*>(head) + got, 4 - got, whole);
        r != Result::kOk)
        return r;
    uint32_t n =
        head[0] | (head[1] << 8) | (head[2] << 16) | (static_cast<uint32_t>(head[3]) << 24);
    if (n > CeIpcChannel::kMaxFrame)
        return Result::kFailed;
    char chunk[16384];
    while (payload.size() < n) {
        if (Result r = ReadSome(fd, chunk, std::min(sizeof chunk, n - payload.size()), whole, got);
            r != Result::kOk)
            return r;
        payload.append(chunk, got);
    }
    return Result::kOk;
}

Result SendBy(int fd, const std::string& payload, const Deadline& deadline) {
    if (payload.size() > CeIpcChannel::kMaxFrame)
        return Result::kFailed;
    std::string frame;
    uint32_t n = static_cast<uint32_t>(payload.size());
    for (int i = 0; i < 4; ++i)
        frame.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
    frame += payload;
    size_t done = 0;
    while (done < frame.size()) {
        ssize_t w =
            ::send(fd, frame.data() + done, frame.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (w > 0) {
            done += static_cast<size_t>(w);
            continue;
        }
        if (w < 0 && errno == EINTR)
            continue;
        if (w == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
            return Result::kFailed;
        if (Result ready = Ready(fd, POLLOUT, deadline); ready != Result::kOk)
            return ready;
    }
    return Result::kOk;
}

// The sockets of processes that let a call of ours run out. Few: a process that is
// gone is never called again, and the oldest is forgotten past the limit.
class StuckPeers {
public:
    int Wait(const std::string& name, int timeoutMs) {
        std::lock_guard<std::mutex> guard(lock_);
        bool stuck = std::find(names_.begin(), names_.end(), name) != names_.end();
        return stuck ? std::min(timeoutMs, CeIpcChannel::kStuckWaitMs) : timeoutMs;
    }
    void Note(const std::string& name, Result result) {
        std::lock_guard<std::mutex> guard(lock_);
        std::erase(names_, name);
        if (result == Result::kTimedOut) {
            if (names_.size() >= kMax)
                names_.pop_front();
            names_.push_back(name);
        }
    }

private:
    static constexpr size_t kMax = 64;
    std::mutex lock_;
    std::deque<std::string> names_;
};

StuckPeers& TheStuckPeers() {
    static StuckPeers* s = new StuckPeers; // used by request threads until the very end
    return *s;
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

int CeIpcChannel::Connect(const std::string& name, int timeoutMs, Result* result) {
    Result dummy;
    Result& out = result != nullptr ? *result : dummy;
    out = Result::kFailed;
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_un addr;
    socklen_t len = Address(name, addr);
    // A non-blocking connect to a listener whose queue is full fails at once and
    // gives nothing to poll for; the send timeout bounds the kernel's own wait for
    // room instead, which ends as soon as the listener takes a connection.
    const Deadline deadline = Deadline::In(timeoutMs);
    int rc;
    for (;;) {
        int left = deadline.Left();
        if (left == 0) {
            out = Result::kTimedOut;
            ::close(fd);
            return -1;
        }
        timeval tv{}; // zero: no limit
        if (left > 0) {
            tv.tv_sec = left / 1000;
            tv.tv_usec = (left % 1000) * 1000;
        }
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
        rc = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), len);
        if (rc == 0 || errno != EINTR)
            break;
    }
    if (rc != 0) {
        out = errno == EAGAIN ? Result::kTimedOut : Result::kFailed;
        ::close(fd);
        return -1;
    }
    if (!SameUser(fd)) {
        ::close(fd);
        return -1;
    }
    out = Result::kOk;
    return fd;
}

bool CeIpcChannel::SameUser(int fd) {
    ucred peer{};
    socklen_t len = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &len) == 0 && len == sizeof peer &&
           peer.uid == ::geteuid();
}

Result CeIpcChannel::Send(int fd, const std::string& payload, int timeoutMs) {
    return SendBy(fd, payload, Deadline::In(timeoutMs));
}

Result CeIpcChannel::Receive(int fd, std::string& payload, int timeoutMs) {
    return ReadFrame(fd, payload, Deadline::In(timeoutMs), -1);
}

Result CeIpcChannel::ReceiveRequest(int fd, std::string& payload, int idleMs, int wholeMs) {
    return ReadFrame(fd, payload, Deadline::In(idleMs), wholeMs);
}

bool CeIpcChannel::Call(const std::string& name, const std::string& request, std::string& reply,
                        int timeoutMs) {
    StuckPeers& stuck = TheStuckPeers();
    const int wait = stuck.Wait(name, timeoutMs);
    const Deadline deadline = Deadline::In(wait);
    Result result = Result::kFailed;
    int fd = Connect(name, wait, &result);
    if (fd >= 0) {
        result = SendBy(fd, request, deadline);
        if (result == Result::kOk)
            result = ReadFrame(fd, reply, deadline, -1);
        ::close(fd);
    }
    stuck.Note(name, result);
    return result == Result::kOk;
}
