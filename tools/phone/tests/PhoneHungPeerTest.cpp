// Peers that never take a connection: a real shell and USB driver stopped with SIGSTOP whose
// queues are full. The game's start and idle calls give up within their own time limits, a
// peer that let one run out is waited on briefly afterwards, and Ctrl-C ends `phone usb
// connect` at once.
#include "DeviceRootFixture.h"

#include "ce/CeIpcChannel.h"
#include "ce/CeSharedDir.h"
#include "shell/Shell.h"
#include "shell/ShellProtocol.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// Connects until the listener's queue takes no more; the connections stay open.
std::vector<int> FillQueue(const std::string& name) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path + 1, name.data(), name.size());
    const auto len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    std::vector<int> fds;
    for (int i = 0; i < 1000; ++i) {
        int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0) {
            ::close(fd);
            break;
        }
        fds.push_back(fd);
    }
    return fds;
}

class HungPeerTest : public DeviceRootFixture {
protected:
    void TearDown() override {
        for (int fd : queued_)
            ::close(fd);
        for (auto& p : stopped_)
            p->Signal(SIGCONT); // so that the fixture's end can stop them
    }
    // A real phone process, stopped, with its queue full.
    std::string StartStoppedPhone(const std::vector<std::string>& args, const std::string& ready) {
        auto phone = StartPhone(args, ready);
        std::string name = PhoneProcess::SocketOf(CeSharedDir::Root(), phone->Pid());
        EXPECT_FALSE(name.empty());
        phone->Signal(SIGSTOP);
        std::vector<int> fds = FillQueue(name);
        queued_.insert(queued_.end(), fds.begin(), fds.end());
        stopped_.push_back(std::move(phone));
        return name;
    }
    std::vector<int> queued_;
    std::vector<std::unique_ptr<TestProcess>> stopped_;
};

// What the game does at start and on its idle ticks, run in a child so that a hang
// fails the test instead of stopping it. Exit codes tell what went wrong.
int GameCalls(const std::vector<std::string>& peers) {
    std::string reply;
    for (const auto& peer : peers) {
        const auto start = Clock::now();
        if (CeIpcChannel::Call(peer, std::string("\x01\0\0\0", 4), reply, 300))
            return 2; // answered?
        if (Clock::now() - start < 250ms)
            return 3; // gave up before its time limit
    }
    const auto start = Clock::now();
    if (RegisterUsbNotifyMessage() == 0xFFFFFFFF)
        return 4; // the device is there; only its answer is missing
    if (NotifyShellMainWnd(ShellProtocol::kTakeScreenW, ShellProtocol::kTakeScreenL) != 0)
        return 5;
    // Each waits 100 ms on a peer that let a call run out, not its 10 s or 2 s.
    return Clock::now() - start < 1500ms ? 0 : 6;
}

TEST_F(HungPeerTest, TheGamesCallsGiveUpInTimeOnStoppedPeersWithFullQueues) {
    const std::vector<std::string> peers = {StartStoppedPhone({"shell"}, "shell: ready"),
                                            StartStoppedPhone({"usb-driver"}, "usb-driver: ready")};
    TestProcess game;
    ASSERT_TRUE(game.Fork([&] { return GameCalls(peers); }));
    EXPECT_EQ(game.Wait(8000ms), 0) << "-1: it hung";
}

// A short command leaves the stop signals alone: Ctrl-C ends it while it waits.
TEST_F(HungPeerTest, CtrlCEndsUsbConnectWhileTheDriverHangs) {
    StartStoppedPhone({"usb-driver"}, "usb-driver: ready");
    auto connect = StartPhone({"usb", "connect"});
    std::this_thread::sleep_for(300ms);
    const auto sent = Clock::now();
    connect->Signal(SIGINT);
    EXPECT_EQ(connect->Wait(5000ms), 128 + SIGINT);
    EXPECT_LT(Clock::now() - sent, 2000ms);
}

} // namespace
