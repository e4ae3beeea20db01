// Peers that never take a connection: a process that listens with a queue of 0 and never
// accepts, and a real shell and USB driver stopped with SIGSTOP whose queues are full. The
// game's start and idle calls give up within their own time limits, a peer that let one
// run out is waited on briefly afterwards, and Ctrl-C ends `phone usb connect` at once.
#include "DeviceRootFixture.h"

#include "ce/CeIpcChannel.h"
#include "ce/CeSharedDir.h"
#include "shell/Shell.h"
#include "shell/ShellProtocol.h"
#include "testing/TestPipe.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

sockaddr_un Address(const std::string& name, socklen_t& len) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path + 1, name.data(), name.size());
    len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return addr;
}

// Connects until the listener's queue takes no more; the connections stay open.
std::vector<int> FillQueue(const std::string& name) {
    socklen_t len = 0;
    sockaddr_un addr = Address(name, len);
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

std::string Hex(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) {
        char buf[8];
        snprintf(buf, sizeof buf, "%04x", static_cast<unsigned>(c));
        out += buf;
    }
    return out;
}

class HungPeerTest : public DeviceRootFixture {
protected:
    void TearDown() override {
        for (int fd : queued_)
            ::close(fd);
        for (auto& p : stopped_)
            p->Signal(SIGCONT); // so that the fixture's end can stop them
    }
    // A process that publishes the shell's window and the USB driver, listens with a
    // queue of 0 and never accepts.
    std::string StartSilentPeer() {
        TestPipe ready;
        auto peer = std::make_unique<TestProcess>();
        const uint64_t token = 0xC0FFEE;
        EXPECT_TRUE(peer->Fork([&] {
            ready.CloseReadEnd();
            const std::string dir = CeSharedDir::Get("procs");
            const std::string base = dir + "/" + std::to_string(::getpid()) + "-0000000000c0ffee";
            const std::string name = CeIpcChannel::SocketName(::getpid(), token);
            int lock = ::open((base + ".lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
            int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            socklen_t len = 0;
            sockaddr_un addr = Address(name, len);
            if (lock < 0 || ::flock(lock, LOCK_EX) != 0 ||
                ::bind(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0 || ::listen(fd, 0) != 0)
                return 1;
            const std::string record = "record 1\nwindow 4096 1 " +
                                       Hex(ShellProtocol::kWindowClass) + " " + Hex(u"Shell") +
                                       "\ndevice e2bdc372598f4619bc5054b3f7848d35 " +
                                       Hex(u"UFN1:") + " " + Hex(u"UFN1:") + "\n";
            int rec = ::open((base + ".rec").c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
            if (rec < 0 ||
                ::write(rec, record.data(), record.size()) != static_cast<ssize_t>(record.size()))
                return 1;
            ::close(rec);
            ready.Write('y');
            for (;;)
                ::pause();
        }));
        ready.CloseWriteEnd();
        char c = 0;
        EXPECT_TRUE(ready.Read(c));
        std::string name = CeIpcChannel::SocketName(peer->Pid(), token);
        Hold(std::move(peer), name);
        return name;
    }
    // A real phone process, stopped, with its queue full.
    std::string StartStoppedPhone(const std::vector<std::string>& args, const std::string& ready) {
        auto phone = StartPhone(args, ready);
        std::string name = PhoneProcess::SocketOf(CeSharedDir::Root(), phone->Pid());
        EXPECT_FALSE(name.empty());
        phone->Signal(SIGSTOP);
        Hold(std::move(phone), name);
        return name;
    }
    void Hold(std::unique_ptr<TestProcess> p, const std::string& name) {
        std::vector<int> fds = FillQueue(name);
        queued_.insert(queued_.end(), fds.begin(), fds.end());
        stopped_.push_back(std::move(p));
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

TEST_F(HungPeerTest, TheGamesCallsGiveUpInTimeOnPeersThatNeverAccept) {
    const struct {
        const char* what;
        std::function<std::vector<std::string>()> start;
    } cases[] = {
        {"a process that listens with a queue of 0 and never accepts",
         [this] { return std::vector<std::string>{StartSilentPeer()}; }},
        {"a shell and a driver stopped with full queues",
         [this] {
             return std::vector<std::string>{
                 StartStoppedPhone({"shell"}, "shell: ready"),
                 StartStoppedPhone({"usb-driver"}, "usb-driver: ready")};
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestDeviceRoot root; // each case on its own
        std::vector<std::string> peers = c.start();
        TestProcess game;
        ASSERT_TRUE(game.Fork([&] { return GameCalls(peers); }));
        EXPECT_EQ(game.Wait(8000ms), 0) << "-1: it hung";
        TearDown();
        queued_.clear();
        stopped_.clear();
    }
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
