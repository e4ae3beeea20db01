#include "ipc/CeIpcServer.h"

#include "ce/CeIpcChannel.h"
#include "ipc/CeProcessRecord.h"

#include <cerrno>
#include <chrono>
#include <map>
#include <mutex>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {
struct State {
    std::mutex lock;
    std::map<uint32_t, CeIpcServer::Handler> handlers;
    int listenFd = -1;
};

State& TheState() {
    static State* s = new State; // lives as long as the detached threads that use it
    return *s;
}

void Serve(int fd) {
    std::string request;
    while (CeIpcChannel::Receive(fd, request, -1)) {
        if (!CeIpcRequest::Valid(request)) {
            // Refused whole, before any handler sees it: an empty reply.
            if (!CeIpcChannel::Send(fd, std::string()))
                break;
            request.clear();
            continue;
        }
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
        if (!CeIpcChannel::Send(fd, out.Data()))
            break;
        request.clear();
    }
    ::close(fd);
}

void Accept(int listenFd) {
    for (;;) {
        int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED || errno == EMFILE || errno == ENFILE) {
                if (errno == EMFILE || errno == ENFILE)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                continue;
            }
            return;
        }
        if (!CeIpcChannel::SameUser(fd)) {
            ::close(fd); // another user: not a byte is read
            continue;
        }
        std::thread(Serve, fd).detach();
    }
}
} // namespace

std::string CeIpcServer::Name() {
    return CeIpcChannel::SocketName(static_cast<int>(::getpid()), CeProcessRecord::Token());
}

bool CeIpcServer::Start() {
    State& s = TheState();
    std::lock_guard<std::mutex> guard(s.lock);
    if (s.listenFd >= 0)
        return true;
    s.listenFd = CeIpcChannel::Listen(Name());
    if (s.listenFd < 0)
        return false;
    std::thread(Accept, s.listenFd).detach();
    return true;
}

void CeIpcServer::SetHandler(Kind kind, Handler handler) {
    State& s = TheState();
    std::lock_guard<std::mutex> guard(s.lock);
    s.handlers[kind] = std::move(handler);
}
