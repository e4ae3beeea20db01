// The phone tool's commands as a user runs them (the usage on bad command lines), the
// named mutex between its processes, and the shell's window seen from this process beside
// the status, one driver per device and the lock flag.
#include "DeviceRootFixture.h"

#include "ce/CeIpcChannel.h"
#include "ce/ce.h"
#include "shell/ShellProtocol.h"

#include <chrono>
#include <csignal>

using namespace std::chrono_literals;

namespace {
using PhoneCommandTest = DeviceRootFixture;

TEST_F(PhoneCommandTest, BadCommandLinesShowTheUsage) {
    const std::vector<std::string> bad[] = {{},
                                            {"nonsense"},
                                            {"lock"},
                                            {"lock", "maybe"},
                                            {"usb", "notify", "x"},
                                            {"usb", "notify", "99999999999"},
                                            {"shell", "--wrong"}};
    for (const auto& args : bad)
        EXPECT_EQ(PhoneProcess::Run(args), 2) << (args.empty() ? "" : args[0]);
    std::string help;
    EXPECT_EQ(PhoneProcess::Run({"--help"}, &help), 0);
    EXPECT_NE(help.find("usb-driver"), std::string::npos);
}

class MutexProcessTest : public DeviceRootFixture {
protected:
    // "new" or "exists" as seen by a fresh process taking the name.
    std::string Probe(const std::string& name) {
        auto child = StartPhone({"mutex", name});
        std::string line;
        EXPECT_TRUE(child->ReadLine(line, 10000ms));
        child->CloseStdin();
        EXPECT_EQ(child->Wait(10000ms), 0);
        return line;
    }
};

TEST_F(MutexProcessTest, NameIsHeldWhileTheHolderLivesAndFreedHoweverItEnds) {
    const struct {
        const char* how;
        int signal; // 0: the holder ends normally
    } endings[] = {{"normal exit", 0}, {"SIGTERM", SIGTERM}, {"kill -9", SIGKILL}};
    for (const auto& ending : endings) {
        SCOPED_TRACE(ending.how);
        auto holder = StartPhone({"mutex", "Mole"});
        std::string line;
        ASSERT_TRUE(holder->ReadLine(line, 10000ms));                           // the name is taken
        EXPECT_EQ(Probe(ending.signal == SIGKILL ? "MOLE" : "Mole"), "exists"); // case ignored
        if (ending.signal == 0)
            holder->CloseStdin();
        else
            holder->Signal(ending.signal);
        EXPECT_GE(holder->Wait(10000ms), 0);
        EXPECT_EQ(Probe("Mole"), "new");
    }
    // Held in this process, the name is seen by others until closed: releasing keeps it taken.
    HANDLE h = CreateMutexW(nullptr, TRUE, u"Mole");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(Probe("Other"), "new");
    EXPECT_TRUE(ReleaseMutex(h));
    EXPECT_EQ(Probe("Mole"), "exists");
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(Probe("Mole"), "new");
}

TEST_F(MutexProcessTest, OfAHundredProcessesStartedTogetherExactlyOneSeesTheNameNew) {
    constexpr int kCount = 100;
    std::vector<std::unique_ptr<TestProcess>> children;
    for (int i = 0; i < kCount; ++i)
        children.push_back(StartPhone({"mutex", "Mole", "--gate"}));
    for (auto& c : children) // release them all at once
        ASSERT_TRUE(c->Write("go\n"));
    int fresh = 0, taken = 0;
    for (auto& c : children) {
        std::string line;
        ASSERT_TRUE(c->ReadLine(line, 60000ms)); // generous: 100 starts on a busy machine
        fresh += line == "new";
        taken += line == "exists";
    }
    EXPECT_EQ(fresh, 1);
    EXPECT_EQ(taken, kCount - 1);
    for (auto& c : children)
        c->CloseStdin();
    for (auto& c : children)
        EXPECT_EQ(c->Wait(60000ms), 0);
}

using RemoteWindowTest = DeviceRootFixture;

// One shell from start to death, with a USB driver and the lock flag beside it.
TEST_F(RemoteWindowTest, ShellWindowFromStartToDeath) {
    std::string status, line;
    RECT rect{};
    DWORD_PTR result = 0;
    // Linked on first use: a program that never installs the link still sees the
    // other processes' windows and is seen by them.
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 0; };
    wc.lpszClassName = u"LinkProbeWnd";
    ASSERT_TRUE(RegisterClassW(&wc));
    HWND own = CreateWindowExW(0, u"LinkProbeWnd", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                               nullptr);
    ASSERT_NE(own, nullptr);
    // `phone status` lists the windows, the devices and the lock.
    auto shell = StartPhone({"shell"}, "shell: ready");
    auto driver = StartPhone({"usb-driver"}, "usb-driver: ready");
    ASSERT_EQ(PhoneProcess::Run({"lock", "on"}), 0);
    EXPECT_EQ(PhoneProcess::Run({"status"}, &status), 0);
    const std::string parts[] = {"LinkProbeWnd", "CShellMainWnd",
                                 "pid " + std::to_string(shell->Pid()),
                                 "usb function driver: running, no message number yet", "lock: on"};
    for (const auto& part : parts)
        EXPECT_NE(status.find(part), std::string::npos) << part << " in " << status;
    DestroyWindow(own);
    // Only one driver serves the bus name until it dies.
    EXPECT_EQ(PhoneProcess::Run({"usb-driver"}), 1);
    driver->Kill();
    driver->Wait(10000ms);
    auto second = StartPhone({"usb-driver"}, "usb-driver: ready");
    second->Terminate();
    EXPECT_EQ(second->Wait(10000ms), 0); // a stop signal ends it cleanly

    // Found by class (in any case) and title.
    const struct {
        const WCHAR* cls;
        const WCHAR* title;
        bool found;
    } cases[] = {
        {u"cshellmainwnd", nullptr, true},   {u"CShellMainWnd", u"Shell", true},
        {u"CShellMainWnd", u"Other", false}, {u"MoleMainWnd", nullptr, false},
        {nullptr, u"Shell", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindWindowW(c.cls, c.title) != nullptr, c.found);
    HWND w = FindWindowW(ShellProtocol::kWindowClass, nullptr);
    ASSERT_NE(w, nullptr);

    // Shown, hidden, raised, posted to and broadcast to.
    EXPECT_TRUE(ShowWindow(w, SW_HIDE)); // it was visible
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_FALSE(ShowWindow(w, SW_SHOW)); // it was hidden
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_TRUE(GetWindowRect(w, &rect));
    EXPECT_EQ(rect.right - rect.left, 720);
    EXPECT_EQ(rect.bottom - rect.top, 480);
    EXPECT_TRUE(SetForegroundWindow(w));
    EXPECT_TRUE(shell->WaitFor("shell: foreground", 10000ms));
    EXPECT_TRUE(PostMessageW(w, WM_USER + 5, 3, 4));
    ASSERT_TRUE(shell->WaitFor("message", 10000ms, &line));
    EXPECT_EQ(line, "shell: message 0x405 wParam=3 lParam=4");
    EXPECT_TRUE(PostMessageW(HWND_BROADCAST, WM_USER + 6, 5, 6));
    ASSERT_TRUE(shell->WaitFor("message", 10000ms, &line));
    EXPECT_EQ(line, "shell: message 0x406 wParam=5 lParam=6");

    // Garbage requests are refused and the shell still answers.
    const std::string socket = PhoneProcess::SocketOf(root_, shell->Pid());
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
    EXPECT_NE(SendMessageTimeout(w, ShellProtocol::kCommand, 2, 1, SMTO_NORMAL, 2000, &result), 0);
    EXPECT_EQ(result, 1u);

    // A dead process's window is gone and its record cleaned.
    shell->Kill();
    shell->Wait(10000ms);
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_FALSE(PostMessageW(w, WM_USER, 0, 0));
    EXPECT_FALSE(GetWindowRect(w, &rect));
    EXPECT_EQ(SendMessageTimeout(w, WM_USER, 0, 0, SMTO_NORMAL, 2000, &result), 0);
    EXPECT_EQ(FindWindowW(ShellProtocol::kWindowClass, nullptr), nullptr);
    EXPECT_EQ(PhoneProcess::Run({"status"}, &status), 0);
    EXPECT_NE(status.find("windows: 0"), std::string::npos) << status;
    auto again = StartPhone({"shell"}, "shell: ready"); // a new shell is found at once
    EXPECT_NE(FindWindowW(ShellProtocol::kWindowClass, nullptr), nullptr);
}

// A peer's window title holding terminal escapes is shown escaped by `phone status`.
using PhoneTrustTest = DeviceRootFixture;

TEST_F(PhoneTrustTest, StatusShowsAPeersTitleEscaped) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 0; };
    wc.lpszClassName = u"EscapeProbeWnd";
    ASSERT_TRUE(RegisterClassW(&wc));
    HWND own = CreateWindowExW(0, u"EscapeProbeWnd", u"evil\x1b]0;pwned\x07\x1b[2J", 0, 0, 0, 10,
                               10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(own, nullptr);
    std::string status;
    EXPECT_EQ(PhoneProcess::Run({"status"}, &status), 0);
    DestroyWindow(own);
    EXPECT_NE(status.find("\"evil\\x1b]0;pwned\\x07\\x1b[2J\""), std::string::npos) << status;
    EXPECT_EQ(status.find('\x1b'), std::string::npos) << "a raw escape reached the terminal";
}

} // namespace
