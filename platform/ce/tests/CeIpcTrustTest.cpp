// What other processes can reach: frames between processes, the request listener (it serves only
// this user's processes and only requests whose every field is in range), and the shared .ce/
// folder of the device root, whose planted links, FIFOs and wrong kinds do no harm.
#include "ce/CeIpcChannel.h"
#include "ce/CeRegistry.h"
#include "ce/CeWindow.h"
#include "ipc/CeIpcBuffer.h"
#include "ipc/CeIpcRequest.h"
#include "ipc/CeIpcServer.h"
#include "ipc/CeProcessRecord.h"
#include "objects/CeSharedText.h"
#include "testing/TestDeviceRoot.h"
#include "testing/TestPipe.h"
#include "testing/TestProcess.h"
#include "windows/CeMessageNames.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::string Window(uint32_t op, uint64_t hwnd, uint32_t msg, uint64_t w, uint64_t l) {
    CeIpcBuffer b;
    b.PutU32(CeIpcRequest::kWindow);
    b.PutU32(op);
    b.PutU64(hwnd);
    b.PutU32(msg);
    b.PutU64(w);
    b.PutU64(l);
    return b.Data();
}

std::string DeviceIo(const std::u16string& bus, size_t input, uint32_t outSize) {
    CeIpcBuffer b;
    b.PutU32(CeIpcRequest::kDeviceIo);
    b.PutText(bus);
    b.PutU32(0x1234);
    std::string bytes(input, 'x');
    b.PutBytes(bytes.data(), bytes.size());
    b.PutU32(outSize);
    return b.Data();
}

std::string Kind(uint32_t kind) {
    CeIpcBuffer b;
    b.PutU32(kind);
    return b.Data();
}

TEST(CeIpcBufferTest, RoundTrip) {
    CeIpcBuffer out;
    out.PutU32(0xDEADBEEF);
    out.PutText(u"CShellMainWnd\u4E2D");
    out.PutBytes("\x01\x00\x02", 3);
    out.PutText(u"");
    CeIpcBuffer in(out.Data());
    uint32_t a = 0;
    std::u16string text, empty = u"x";
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(in.GetU32(a) && in.GetText(text) && in.GetBytes(bytes) && in.GetText(empty));
    EXPECT_EQ(a, 0xDEADBEEFu);
    EXPECT_EQ(text, u"CShellMainWnd\u4E2D");
    EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 0, 2}));
    EXPECT_EQ(empty, u"");
}

// A short or forged frame reads as a failure, never past its end.
TEST(CeIpcBufferTest, ShortAndForgedFramesFail) {
    const struct {
        const char* what;
        std::string data;
        bool number; // a 64-bit number can be read
        bool bytes;  // a byte string of at most 2 bytes can be read
    } cases[] = {
        {"three bytes", std::string("\x01\x02\x03", 3), false, false},
        {"huge length", std::string("\xFF\xFF\xFF\xFF") + "abcd", true, false},
        {"odd text", std::string("\x02\0\0\0", 4) + "abc", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CeIpcBuffer a(c.data), b(c.data), d(c.data);
        std::u16string text;
        std::vector<uint8_t> bytes;
        uint64_t v = 0;
        EXPECT_FALSE(a.GetText(text)); // never a whole string of UTF-16 units
        EXPECT_EQ(b.GetU64(v), c.number);
        EXPECT_EQ(d.GetBytes(bytes, 2), c.bytes);
    }
}

TEST(CeIpcRequestTest, OnlyWholeRequestsWithFieldsInRangePass) {
    const uint64_t kHwnd = 0x10008;
    const struct {
        const char* what;
        std::string frame;
        bool valid;
    } cases[] = {
        {"ping", Kind(CeIpcRequest::kPing), true},
        {"ping with a byte more", Kind(CeIpcRequest::kPing) + 'x', false},
        {"republish", Kind(CeIpcRequest::kRepublish), true},
        {"torn kind", std::string("\x01\x00", 2), false},
        {"unknown kind 0", Kind(0), false},
        {"unknown kind 5", Kind(5), false},
        {"post", Window(5, kHwnd, 0x7E01, 252, 0), true},
        {"broadcast to no window", Window(6, 0, 0x400, 0, 0), true},
        {"show", Window(1, kHwnd, 0, 5, 0), true},
        {"window op 0", Window(0, kHwnd, 0, 0, 0), false},
        {"window op 8", Window(8, kHwnd, 0, 0, 0), false},
        {"send of one of the phone's own messages", Window(4, kHwnd, 0xFFF0001A, 2, 1), true},
        {"show command out of range", Window(1, kHwnd, 0, 12, 0), false},
        {"send to window 0", Window(4, 0, 0x400, 0, 0), false},
        {"window request cut short", Window(5, kHwnd, 0x400, 0, 0).substr(0, 35), false},
        {"device io", DeviceIo(u"USB1:", 16, 64), true},
        {"device io without a bus", DeviceIo(u"", 16, 64), false},
        {"device io bus too long", DeviceIo(std::u16string(260, u'A'), 0, 0), false},
        {"device io output too large", DeviceIo(u"USB1:", 0, (1u << 20) + 1), false},
        {"device io cut short", DeviceIo(u"USB1:", 4, 4).substr(0, 20), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CeIpcRequest::Valid(c.frame), c.valid) << c.what;
}

// This process serves window requests, counting those that reach the handler.
class CeIpcTrustTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CeIpcServer::Start());
        CeIpcServer::SetHandler(CeIpcServer::kWindow, [this](CeIpcBuffer&, CeIpcBuffer& out) {
            ++served;
            out.PutU64(1);
        });
    }
    TestDeviceRoot root;
    std::atomic<int> served{0};
};

TEST_F(CeIpcTrustTest, RefusedRequestNeverReachesItsHandler) {
    const struct {
        const char* what;
        std::string request;
        bool handled;
    } cases[] = {
        {"a post", Window(5, 0x10008, 0x400, 1, 2), true},
        {"a post with a tail", Window(5, 0x10008, WM_TIMER, 1, 0x4142434445) + "xyz", false},
        {"unknown kind", Kind(77), false}, // the other refusals: CeIpcRequestTest
        {"a post again", Window(5, 0x10008, 0x400, 1, 2), true},
    };
    for (const auto& c : cases) {
        served = 0;
        std::string reply = "unchanged";
        EXPECT_TRUE(CeIpcChannel::Call(CeIpcServer::Name(), c.request, reply, 2000)) << c.what;
        EXPECT_EQ(served.load(), c.handled ? 1 : 0) << c.what;
        EXPECT_EQ(reply.empty(), !c.handled) << c.what << ": refused with an empty reply";
    }
}

// A child process that becomes uid 65534 and sends the request over a raw socket.
// Its exit code: 0 when the connection ended without a byte of reply, 1 when
// anything came back, 77 when it could not drop its privileges.
int RequestAsNobody(const std::string& name, const std::string& request) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path + 1, name.data(), name.size());
    const auto len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    CeIpcBuffer frame; // a frame is its length and bytes, as the channel sends it
    frame.PutBytes(request.data(), request.size());
    TestProcess child;
    const bool forked = child.Fork([&] {
        // Only async-signal-safe calls from here on: the parent has threads.
        if (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
            ::setresuid(65534, 65534, 65534) != 0)
            return 77;
        int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0)
            return 0; // not even connected: refused all the same
        ::send(fd, frame.Data().data(), frame.Data().size(), MSG_NOSIGNAL);
        pollfd pfd{fd, POLLIN, 0};
        char byte;
        if (::poll(&pfd, 1, 3000) != 1)
            return 1; // the connection was kept open
        return ::recv(fd, &byte, 1, 0) > 0 ? 1 : 0;
    });
    return forked ? child.Wait() : -1;
}

TEST_F(CeIpcTrustTest, AnotherUserIsRefusedBeforeItsRequestIsRead) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to run a child as a second uid (65534); not tested here";
    // A ping, and a forged timer that would call an outside address if it were served.
    for (const std::string& request :
         {Kind(CeIpcRequest::kPing), Window(5, 0x10008, WM_TIMER, 1, 0x4142434445)}) {
        int rc = RequestAsNobody(CeIpcServer::Name(), request);
        if (rc == 77)
            GTEST_SKIP() << "cannot drop to uid 65534 here; not tested";
        EXPECT_EQ(rc, 0) << "another user got an answer to " << request.size() << " bytes";
    }
    EXPECT_EQ(served.load(), 0);
    std::string reply;
    EXPECT_TRUE(CeIpcChannel::Call(CeIpcServer::Name(), Kind(CeIpcRequest::kPing), reply, 2000))
        << "this user is still served";
}

// A planted or damaged .ce/: links are never followed, FIFOs never waited on, and whatever is of
// the wrong kind is set aside (with one line on stderr) and made anew.
std::string TableLine(const std::u16string& name, UINT number) {
    return CeSharedText::ToHex(CeSharedText::Fold(name)) + " " + std::to_string(number) + "\n";
}

std::vector<CeProcessRecord::Window> ProbeWindow() {
    return {{0x10001, 1, u"ProbeWnd", u"probe"}};
}

bool SelfListed() {
    for (const auto& e : CeProcessRecord::Live(true))
        if (e.pid == static_cast<int>(::getpid()) && e.windows.size() == 1)
            return true;
    return false;
}

TEST(CeSharedRootTrustTest, LinksUnderDotCeAreNeverFollowed) {
    using Roots = const TestDeviceRoot&;
    const struct {
        const char* what;
        std::function<void(Roots root, Roots outside)> plant;
        std::function<void(Roots outside)> actAndCheck;
    } cases[] = {
        {"message table linked to an outside file",
         [](Roots r, Roots o) {
             o.Put("names", TableLine(u"Evil", 0xC777));
             fs::create_symlink(o.Host("names"), r.Host(".ce/messages/table"));
         },
         [](Roots o) {
             EXPECT_NE(RegisterWindowMessageW(u"Evil"), 0xC777u) << "the outside table read";
             EXPECT_EQ(o.Get("names"), TableLine(u"Evil", 0xC777));
         }},
        {"lock file linked to a missing outside file",
         [](Roots r, Roots o) { fs::create_symlink(o.Host("made"), r.Host(".ce/messages/.lock")); },
         [](Roots o) {
             EXPECT_NE(RegisterWindowMessageW(u"Fine"), 0u);
             EXPECT_FALSE(o.Exists("made"));
         }},
        {"old temporary file name linked to an outside file",
         [](Roots r, Roots o) {
             o.Put("victim", "keep me");
             fs::create_symlink(o.Host("victim"),
                                r.Host(".ce/messages/table.tmp." + std::to_string(::getpid())));
         },
         [](Roots o) {
             EXPECT_NE(RegisterWindowMessageW(u"Fine"), 0u);
             EXPECT_EQ(o.Get("victim"), "keep me");
         }},
        {"process records linked to an outside folder",
         [](Roots r, Roots o) {
             o.Put("1-00000000000000aa.rec", "record 1\n");
             o.Put("1-00000000000000aa.lock", "");
             fs::create_symlink(o.Path(), r.Host(".ce/procs"));
         },
         [](Roots o) {
             EXPECT_TRUE(CeProcessRecord::Live(true).empty());
             EXPECT_TRUE(o.Exists("1-00000000000000aa.rec") && o.Exists("1-00000000000000aa.lock"));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestDeviceRoot outside; // only for its folder: the device root is set after
        TestDeviceRoot root;
        root.MakeDir(".ce/messages");
        c.plant(root, outside);
        c.actAndCheck(outside);
    }
}

TEST(CeSharedRootTrustTest, FifosNeverHangAReader) {
    const char* kRegistryKey = ".ce/registry/hkey_current_user/software/trust";
    const struct {
        const char* what;
        std::string fifo; // below the root
        std::function<void()> act;
    } cases[] = {
        {"a process's lock", ".ce/procs/1-00000000000000aa.lock",
         [] { CeProcessRecord::Live(true); }},
        {"the message table", ".ce/messages/table", [] { RegisterWindowMessageW(u"Name"); }},
        {"a registry key's values", std::string(kRegistryKey) + "/.values",
         [] {
             HKEY key = nullptr;
             if (RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Trust", 0, 0, &key) == 0) {
                 DWORD size = 0;
                 RegQueryValueExW(key, u"Value", nullptr, nullptr, nullptr, &size);
                 RegCloseKey(key);
             }
         }},
    };
    for (const auto& c : cases) {
        TestDeviceRoot root;
        root.MakeDir(".ce/procs");
        root.MakeDir(".ce/messages");
        root.MakeDir(kRegistryKey);
        root.Put(".ce/procs/1-00000000000000aa.rec", "record 1\n");
        ASSERT_EQ(::mkfifo(root.Host(c.fifo).c_str(), 0644), 0) << c.what;
        TestProcess child;
        ASSERT_TRUE(child.Fork([&] { return c.act(), 0; }));
        EXPECT_EQ(child.Wait(5000ms), 0) << c.what << ": blocked on a FIFO";
    }
}

TEST(CeSharedRootTrustTest, WrongKindsAreSetAsideAndMadeAnew) {
    const struct {
        const char* what;
        std::function<void(const TestDeviceRoot&)> plant;
        std::function<bool()> works;
        const char* named; // in the stderr line
    } cases[] = {
        {".ce is a file", [](const TestDeviceRoot& r) { r.Put(".ce", "x"); }, SelfListed, ".ce"},
        {"procs is a file", [](const TestDeviceRoot& r) { r.Put(".ce/procs", "x"); }, SelfListed,
         "procs"},
        {"the message table is a folder",
         [](const TestDeviceRoot& r) { r.MakeDir(".ce/messages/table/sub"); },
         [] {
             UINT first = RegisterWindowMessageW(u"One");
             return first != 0 && RegisterWindowMessageW(u"Two") != first &&
                    RegisterWindowMessageW(u"One") == first;
         },
         "table"},
        {"the message lock is a folder",
         [](const TestDeviceRoot& r) { r.MakeDir(".ce/messages/.lock"); },
         [] { return RegisterWindowMessageW(u"One") != 0; }, ".lock"},
    };
    for (const auto& c : cases) {
        TestDeviceRoot root;
        c.plant(root);
        ::testing::internal::CaptureStderr();
        CeProcessRecord::SetWindows(ProbeWindow()); // checked through SelfListed
        bool works = c.works();
        std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_TRUE(works) << c.what;
        EXPECT_NE(said.find("set aside"), std::string::npos) << c.what << ": " << said;
        EXPECT_NE(said.find(c.named), std::string::npos) << c.what << ": " << said;
        CeProcessRecord::SetWindows({});
    }
}

TEST(CeSharedRootTrustTest, DamagedRecordOfALiveProcessIsWrittenAnew) {
    TestDeviceRoot root;
    TestPipe ready;
    TestProcess child;
    ASSERT_TRUE(child.Fork([&] {
        ready.CloseReadEnd();
        ready.Write(CeProcessRecord::SetWindows(ProbeWindow()) ? 'y' : 'n');
        ::pause();
        return 0;
    }));
    ready.CloseWriteEnd();
    char c = 0;
    ASSERT_TRUE(ready.Read(c) && c == 'y');
    std::string record;
    for (const auto& entry : fs::directory_iterator(root.Host(".ce/procs")))
        if (entry.path().extension() == ".rec")
            record = entry.path().filename().string();
    root.Put(".ce/procs/" + record, "garbage\x01\x02");

    ::testing::internal::CaptureStderr();
    std::vector<CeProcessRecord::Entry> live = CeProcessRecord::Live(false);
    std::string said = ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live[0].pid, child.Pid());
    ASSERT_EQ(live[0].windows.size(), 1u);
    EXPECT_EQ(live[0].windows[0].className, u"ProbeWnd");
    EXPECT_NE(said.find("set aside"), std::string::npos) << said;
}

} // namespace
