// Windows of another process: found by class and title, shown, hidden, raised,
// sent and posted to, and forgotten once their process is gone.
#include "DeviceRootFixture.h"

#include "ce/CeIpcChannel.h"
#include "ce/ce.h"
#include "shell/ShellProtocol.h"

#include <chrono>
#include <filesystem>

using namespace std::chrono_literals;

namespace {
class RemoteWindowTest : public DeviceRootFixture {
protected:
    static LRESULT NotifyCommand() {
        HWND w = FindWindowW(ShellProtocol::kWindowClass, nullptr);
        DWORD_PTR result = 0;
        return w == nullptr ? 0
                            : SendMessageTimeout(w, ShellProtocol::kCommand, 2, 1, SMTO_NORMAL,
                                                 2000, &result);
    }
};

TEST_F(RemoteWindowTest, FindWindowByClassAndTitle) {
    EXPECT_EQ(FindWindowW(ShellProtocol::kWindowClass, nullptr), nullptr);
    auto shell = StartPhone({"shell"}, "shell: ready");
    const struct {
        const WCHAR* cls;
        const WCHAR* title;
        bool found;
    } cases[] = {
        {u"CShellMainWnd", nullptr, true},  {u"cshellmainwnd", nullptr, true},
        {u"CShellMainWnd", u"Shell", true}, {u"CShellMainWnd", u"Other", false},
        {u"MoleMainWnd", nullptr, false},   {nullptr, u"Shell", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindWindowW(c.cls, c.title) != nullptr, c.found);
    EXPECT_EQ(FindWindowW(ShellProtocol::kWindowClass, nullptr),
              FindWindowW(ShellProtocol::kWindowClass, u"Shell"));
}

TEST_F(RemoteWindowTest, ShowRaiseSendAndPost) {
    auto shell = StartPhone({"shell"}, "shell: ready");
    HWND w = FindWindowW(ShellProtocol::kWindowClass, nullptr);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_TRUE(ShowWindow(w, SW_HIDE)); // it was visible
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_FALSE(ShowWindow(w, SW_SHOW)); // it was hidden
    EXPECT_TRUE(IsWindowVisible(w));
    RECT rect{};
    EXPECT_TRUE(GetWindowRect(w, &rect));
    EXPECT_EQ(rect.right - rect.left, 720);
    EXPECT_EQ(rect.bottom - rect.top, 480);
    EXPECT_TRUE(SetForegroundWindow(w));
    EXPECT_TRUE(shell->WaitFor("shell: foreground", 10000ms));
    DWORD_PTR result = 0;
    EXPECT_NE(SendMessageTimeout(w, ShellProtocol::kCommand, 2, 1, SMTO_NORMAL, 2000, &result), 0);
    EXPECT_EQ(result, 1u);
    EXPECT_TRUE(PostMessageW(w, WM_USER + 5, 3, 4));
    std::string line;
    ASSERT_TRUE(shell->WaitFor("message", 10000ms, &line));
    EXPECT_EQ(line, "shell: message 0x405 wParam=3 lParam=4");
    EXPECT_TRUE(PostMessageW(HWND_BROADCAST, WM_USER + 6, 5, 6));
    ASSERT_TRUE(shell->WaitFor("message", 10000ms, &line));
    EXPECT_EQ(line, "shell: message 0x406 wParam=5 lParam=6");
}

TEST_F(RemoteWindowTest, WindowOfADeadProcessIsGoneAndItsRecordCleaned) {
    auto shell = StartPhone({"shell"}, "shell: ready");
    HWND w = FindWindowW(ShellProtocol::kWindowClass, nullptr);
    ASSERT_NE(w, nullptr);
    shell->Kill();
    shell->Wait(10000ms);
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_FALSE(PostMessageW(w, WM_USER, 0, 0));
    RECT rect{};
    EXPECT_FALSE(GetWindowRect(w, &rect));
    DWORD_PTR result = 7;
    EXPECT_EQ(SendMessageTimeout(w, WM_USER, 0, 0, SMTO_NORMAL, 2000, &result), 0);
    EXPECT_EQ(FindWindowW(ShellProtocol::kWindowClass, nullptr), nullptr);
    std::string status;
    EXPECT_EQ(PhoneProcess::Run({"status"}, &status), 0);
    EXPECT_NE(status.find("windows: 0"), std::string::npos) << status;

    auto again = StartPhone({"shell"}, "shell: ready"); // a new shell is found at once
    EXPECT_NE(FindWindowW(ShellProtocol::kWindowClass, nullptr), nullptr);
}

TEST_F(RemoteWindowTest, GarbageRequestsAreRefusedAndTheShellStillAnswers) {
    auto shell = StartPhone({"shell"}, "shell: ready");
    std::string socket;
    for (const auto& e : std::filesystem::directory_iterator(root_ + "/.ce/procs")) {
        std::string name = e.path().filename().string();
        unsigned long long token = 0;
        int pid = 0;
        if (e.path().extension() == ".rec" && sscanf(name.c_str(), "%d-%llx", &pid, &token) == 2 &&
            pid == shell->Pid())
            socket = CeIpcChannel::SocketName(pid, token);
    }
    ASSERT_FALSE(socket.empty());
    const std::string garbage[] = {
        "",                                                 // no kind
        std::string("\x63\x00\x00\x00", 4),                 // unknown kind
        std::string("\x03\x00\x00\x00\x04", 5),             // window call cut short
        std::string("\x02\x00\x00\x00\xFF\xFF\xFF\x7F", 8), // device call, forged length
    };
    for (const auto& g : garbage) {
        std::string reply = "unchanged";
        EXPECT_TRUE(CeIpcChannel::Call(socket, g, reply, 5000));
        EXPECT_EQ(reply, ""); // refused
    }
    // A window the shell never published is refused too.
    EXPECT_EQ(FindWindowW(u"NoSuchWnd", nullptr), nullptr);
    EXPECT_NE(NotifyCommand(), 0);
}
} // namespace

namespace {
LRESULT ProbeProc(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}
} // namespace

// A program that never installs the link still sees the other processes' windows and
// is seen by them, as every program on the phone is.
TEST_F(RemoteWindowTest, WindowFunctionsLinkToOtherProcessesOnFirstUse) {
    auto shell = StartPhone({"shell"}, "shell: ready");
    WNDCLASSW wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.lpszClassName = u"LinkProbeWnd";
    ASSERT_TRUE(RegisterClassW(&wc));
    HWND own = CreateWindowExW(0, u"LinkProbeWnd", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                               nullptr);
    ASSERT_NE(own, nullptr);
    std::string status;
    EXPECT_EQ(PhoneProcess::Run({"status"}, &status), 0);
    EXPECT_NE(status.find("LinkProbeWnd"), std::string::npos) << status;
    EXPECT_NE(NotifyCommand(), 0);
    DestroyWindow(own);
}

// A hung process lets the first send run its whole time out; later sends to it only
// queue behind that one, so they give up quickly until it answers again.
TEST_F(RemoteWindowTest, SendsToAProcessThatLetOneRunOutGiveUpQuickly) {
    auto shell = StartPhone({"shell", "--hang"}, "shell: ready");
    const auto timed = [] {
        const auto start = std::chrono::steady_clock::now();
        const LRESULT r = NotifyCommand();
        return std::make_pair(r, std::chrono::steady_clock::now() - start);
    };
    const auto [first, firstTook] = timed();
    EXPECT_EQ(first, 0);
    EXPECT_GE(firstTook, 1900ms) << "the first send waits its whole time out";
    for (int i = 0; i < 3; ++i) {
        const auto [later, laterTook] = timed();
        EXPECT_EQ(later, 0);
        EXPECT_LT(laterTook, 1000ms);
    }
}
