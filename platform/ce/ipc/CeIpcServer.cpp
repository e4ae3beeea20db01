#include "ipc/CeIpcServer.h"

#include "ce/CeIpcChannel.h"
#include "ipc/CeProcessRecord.h"

#include <cerrno>
#include <chrono>
#include <exception>
#include <map>
#include <mutex>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;
using Result = CeIpcChannel::Result;

struct Connection {
    int fd;
    Clock::time_point waitingSince; // for the next request
    bool waiting;                   // false while its request is handled
    bool evicted;                   // shut down to make room; its thread closes it
};

struct State {
    std::mutex lock;
    std::map<uint32_t, CeIpcServer::Handler> handlers;
    CeIpcServer::Limits limits;
    int listenFd = -1;
    pid_t owner = 0; // a forked child listens anew, under its own name
    std::mutex connectionsLock;
    std::vector<Connection> connections;
};

State& TheState() {
    static State* s = new State; // lives as long as the detached threads that use it
    return *s;
}

CeIpcServer::Limits CurrentLimits() {
    State& s = TheState();
    std::lock_guard<std::mutex> guard(s.lock);
    return s.limits;
}

void SetWaiting(int fd, bool waiting) {
    State& s = TheState();
    std::lock_guard<std::mutex> guard(s.connectionsLock);
    for (Connection& c : s.connections)
        if (c.fd == fd) {
            c.waiting = waiting;
            c.waitingSince = Clock::now();
        }
}

// Closed under the lock, so that an fd number is never shut down after its reuse.
void Leave(int fd) {
    State& s = TheState();
    std::lock_guard<std::mutex> guard(s.connectionsLock);
    std::erase_if(s.connections, [fd](const Connection& c) { return c.fd == fd; });
    ::close(fd);
}

std::string Answer(std::string request) {
    CeIpcBuffer in(std::move(request));
    CeIpcBuffer out;
    uint32_t kind = 0;
    CeIpcServer::Handler handler;
    if (in.GetU32(kind)) {
        State& s = TheState();
        std::lock_guard<std::mutex> guard(s.lock);
        auto it = s.handlers.find(kind);
        if (it != s.handlers.end())
            handler = it->second;
    }
    if (kind == CeIpcServer::kPing)
        out.PutU32(static_cast<uint32_t>(::getpid()));
    else if (handler)
        handler(in, out);
    return out.Data();
}

void Serve(int fd) {
    std::string request;
    for (;;) {
        const CeIpcServer::Limits limits = CurrentLimits();
        if (CeIpcChannel::ReceiveRequest(fd, request, limits.idleMs, limits.requestMs) !=
            Result::kOk)
            break;
        SetWaiting(fd, false);
        // One refused whole, before any handler sees it, gets an empty reply.
        std::string reply = CeIpcRequest::Valid(request) ? Answer(std::move(request)) : "";
        if (CeIpcChannel::Send(fd, reply, limits.requestMs) != Result::kOk)
            break;
        SetWaiting(fd, true);
    }
    Leave(fd);
}

// Takes a place among the live connections: a free one, else that of the connection
// that has waited longest for its request. With every place busy it is refused.
bool TakePlace(int fd) {
    State& s = TheState();
    const int cap = CurrentLimits().connections;
    std::lock_guard<std::mutex> guard(s.connectionsLock);
    int live = 0;
    Connection* oldest = nullptr;
    for (Connection& c : s.connections) {
        if (c.evicted)
            continue;
        ++live;
        if (c.waiting && (oldest == nullptr || c.waitingSince < oldest->waitingSince))
            oldest = &c;
    }
    if (live >= cap) {
        if (oldest == nullptr)
            return false;
        oldest->evicted = true;
        ::shutdown(oldest->fd, SHUT_RDWR); // wakes its thread, which closes it
    }
    s.connections.push_back({fd, Clock::now(), true, false});
    return true;
}

void Admit(int fd) {
    if (!CeIpcChannel::SameUser(fd) || !TakePlace(fd)) {
        ::close(fd); // another user, or no place: not a byte is read
        return;
    }
    try {
        std::thread(Serve, fd).detach();
    } catch (const std::exception&) {
        Leave(fd); // no thread or memory to spare: this one is refused, the rest go on
    }
}

void Accept(int listenFd) {
    for (;;) {
        int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) {
            Admit(fd);
            continue;
        }
        if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        else if (errno != EINTR && errno != ECONNABORTED)
            return;
    }
}
} // namespace

std::string CeIpcServer::Name() {
    return CeIpcChannel::SocketName(static_cast<int>(::getpid()), CeProcessRecord::Token());
}

bool CeIpcServer::Start() {
    State& s = TheState();
    std::lock_guard<std::mutex> guard(s.lock);
    if (s.listenFd >= 0 && s.owner == ::getpid())
        return true;
    if (s.listenFd >= 0) {
        ::close(s.listenFd); // the parent's, without its accepting thread
        s.listenFd = -1;
        s.connections.clear();
    }
    int fd = CeIpcChannel::Listen(Name());
    if (fd < 0)
        return false;
    try {
        std::thread(Accept, fd).detach();
    } catch (const std::exception&) {
        ::close(fd); // no listener: other processes do not reach this one
        return false;
    }
    s.listenFd = fd;
    s.owner = ::getpid();
    return true;
}

void CeIpcServer::SetHandler(Kind kind, Handler handler) {
    State& s = TheState();
    std::lock_guard<std::mutex> guard(s.lock);
    s.handlers[kind] = std::move(handler);
}

void CeIpcServer::SetLimits(const Limits& limits) {
    State& s = TheState();
    std::lock_guard<std::mutex> guard(s.lock);
    s.limits = limits;
}
