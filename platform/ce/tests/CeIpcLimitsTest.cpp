// What a connection may cost a serving process (run in a child; its peers are raw sockets
// of this one): idle and slow ones are closed, so is one over the limit, promised frames
// take no memory, and a thread that cannot start refuses one connection.
#include "ce/CeIpcChannel.h"
#include "ipc/CeIpcServer.h"
#include "ipc/CeProcessRecord.h"
#include "testing/TestPipe.h"
#include "testing/TestProcess.h"

#include <chrono>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

const std::string kPing("\x01\0\0\0", 4);

std::string Header(uint32_t length) {
    std::string h;
    for (int i = 0; i < 4; ++i)
        h.push_back(static_cast<char>((length >> (8 * i)) & 0xFF));
    return h;
}

// A field of /proc/<pid>/status in kB, or -1.
long StatusKb(int pid, const std::string& field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::stol(line.substr(field.size() + 1));
    return -1;
}

// A serving process with the given limits whose republish requests take busyMs. With
// starve, no further thread can start in it until Lift().
class ServerProcess {
public:
    bool Start(const CeIpcServer::Limits& limits, bool starve = false, int busyMs = 0) {
        CeProcessRecord::Token(); // the child keeps this process's token
        bool forked = child_.Fork([&] {
            ready_.CloseReadEnd();
            lift_.CloseWriteEnd();
            CeIpcServer::SetLimits(limits);
            CeIpcServer::SetHandler(CeIpcServer::kRepublish, [busyMs](CeIpcBuffer&, CeIpcBuffer&) {
                std::this_thread::sleep_for(std::chrono::milliseconds(busyMs));
            });
            if (!CeIpcServer::Start())
                return 1;
            if (starve) {
                const auto room = static_cast<rlim_t>(StatusKb(::getpid(), "VmSize") + 1024) * 1024;
                rlimit tight{room, RLIM_INFINITY};
                ::setrlimit(RLIMIT_AS, &tight);
            }
            ready_.Write('y');
            char c = 0;
            lift_.Read(c);
            rlimit free{RLIM_INFINITY, RLIM_INFINITY};
            ::setrlimit(RLIMIT_AS, &free);
            ready_.Write('z');
            for (;;)
                ::pause();
        });
        ready_.CloseWriteEnd();
        lift_.CloseReadEnd();
        char c = 0;
        return forked && ready_.Read(c) && c == 'y';
    }
    bool Lift() {
        char c = 0;
        return lift_.Write('l') && ready_.Read(c) && c == 'z';
    }
    std::string Name() const {
        return CeIpcChannel::SocketName(child_.Pid(), CeProcessRecord::Token());
    }
    TestProcess& Process() { return child_; }

private:
    TestProcess child_;
    TestPipe ready_;
    TestPipe lift_;
};

class Peer {
public:
    explicit Peer(const std::string& name) {
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::memcpy(addr.sun_path + 1, name.data(), name.size());
        auto len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (::connect(fd_, reinterpret_cast<sockaddr*>(&addr), len) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~Peer() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;
    bool Connected() const { return fd_ >= 0; }
    bool Send(const std::string& bytes) {
        return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
               static_cast<ssize_t>(bytes.size());
    }
    // The server closed the connection within the time, without a byte of reply.
    bool ClosedWithin(std::chrono::milliseconds time) {
        pollfd pfd{fd_, POLLIN, 0};
        if (::poll(&pfd, 1, static_cast<int>(time.count())) != 1)
            return false;
        char byte;
        return ::recv(fd_, &byte, 1, MSG_DONTWAIT) <= 0;
    }

private:
    int fd_ = -1;
};

// A ping on a fresh connection is answered, within 3 s of the others going.
bool StillServes(const std::string& name) {
    std::string reply;
    for (auto start = Clock::now(); Clock::now() - start < 3000ms;
         std::this_thread::sleep_for(20ms))
        if (CeIpcChannel::Call(name, kPing, reply, 1000))
            return true;
    return false;
}

TEST(CeIpcLimitsTest, SilentAndSlowConnectionsAreClosedInTime) {
    const struct {
        const char* what;
        std::string sent;
        bool trickle; // then a byte every 50 ms
    } cases[] = {
        {"silent", "", false},
        {"a header promising 2 MiB, then nothing", Header(2u << 20), false},
        {"a header promising 2 MiB, then a byte every 50 ms", Header(2u << 20), true},
    };
    ServerProcess server;
    ASSERT_TRUE(server.Start({64, 200, 400}));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Peer peer(server.Name());
        ASSERT_TRUE(peer.Connected());
        ASSERT_TRUE(c.sent.empty() || peer.Send(c.sent));
        bool closed = false;
        for (auto start = Clock::now(); !closed && Clock::now() - start < 3000ms;)
            closed = (!c.trickle || peer.Send("x")) ? peer.ClosedWithin(50ms) : true;
        EXPECT_TRUE(closed) << "still open after 3 s; the limits are 0.2 s idle, 0.4 s a request";
    }
    EXPECT_TRUE(StillServes(server.Name()));
}

// With every place busy with a request, one over the limit is closed at once.
TEST(CeIpcLimitsTest, ConnectionsOverTheLimitAreClosedAtOnce) {
    ServerProcess server;
    ASSERT_TRUE(server.Start({2, 10000, 10000}, false, 1500));
    std::vector<std::unique_ptr<Peer>> busy;
    for (int i = 0; i < 2; ++i) {
        busy.push_back(std::make_unique<Peer>(server.Name()));
        busy.back()->Send(Header(4) + std::string("\x04\0\0\0", 4)); // republish
    }
    std::this_thread::sleep_for(200ms); // both handled now
    Peer over(server.Name());
    over.Send(Header(4) + kPing);
    EXPECT_TRUE(over.ClosedWithin(1000ms)) << "a third connection served beside two busy ones";
    EXPECT_TRUE(StillServes(server.Name()));
}

TEST(CeIpcLimitsTest, PromisedFramesTakeNoMemoryBeforeTheirBytesCome) {
    ServerProcess server;
    ASSERT_TRUE(server.Start({64, 10000, 10000}));
    const long before = StatusKb(server.Process().Pid(), "VmRSS");
    std::vector<std::unique_ptr<Peer>> peers;
    for (int i = 0; i < 48; ++i) {
        peers.push_back(std::make_unique<Peer>(server.Name()));
        peers.back()->Send(Header(2u << 20) + "abc");
    }
    std::this_thread::sleep_for(500ms);
    const long grown = StatusKb(server.Process().Pid(), "VmRSS") - before;
    EXPECT_LT(grown, 16 * 1024) << "kB for 48 frames of 3 bytes that promised 2 MiB each";
}

TEST(CeIpcLimitsTest, AThreadThatCannotStartRefusesOneConnectionAndTheProcessGoesOn) {
    ServerProcess server;
    ASSERT_TRUE(server.Start({64, 10000, 10000}, true));
    Peer peer(server.Name());
    ASSERT_TRUE(peer.Connected());
    peer.Send(Header(4) + kPing);
    EXPECT_TRUE(peer.ClosedWithin(3000ms)) << "served without a thread?";
    EXPECT_EQ(server.Process().Wait(200ms), -1) << "the serving process died";
    ASSERT_TRUE(server.Lift());
    EXPECT_TRUE(StillServes(server.Name()));
}

} // namespace
