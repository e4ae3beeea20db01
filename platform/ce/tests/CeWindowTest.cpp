// Windows of this process and of a pretend other one, timer dispatch, the message loop's order,
// and tracing.
#include "ce/CeWindow.h"
#include "ce/CeMessageQueue.h"
#include "ce/CeRemoteWindows.h"
#include "ce/CeTimerQueue.h"
#include "ce/CeTrace.h"
#include "ce/CeUiClock.h"
#include "ce/CeWindowTable.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

// These tests see only their own windows (and fakes): no link to other processes.
const bool g_ownWindowsOnly = (CeSetRemoteWindows(nullptr), true);

// Timer procedures and timer messages record what runs.
std::string g_calls;
void Registered(HWND, UINT, UINT_PTR id, DWORD) {
    g_calls += "proc " + std::to_string(id);
}
void Forged(HWND, UINT, UINT_PTR id, DWORD) {
    g_calls += "forged " + std::to_string(id);
}

LRESULT WindowProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER)
        g_calls += "window " + std::to_string(wParam) + " " + std::to_string(lParam);
    return msg == WM_USER ? static_cast<LRESULT>(wParam * 2) : 0;
}

HWND Create(const char16_t* cls) {
    return CreateWindowExW(0, cls, u"", 0, 0, 0, 100, 50, nullptr, nullptr, nullptr, nullptr);
}

HWND MakeWindow(const char16_t* cls) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.lpszClassName = cls;
    EXPECT_TRUE(RegisterClassW(&wc));
    return Create(cls);
}

// Windows of a pretend other process.
class FakeRemote : public CeRemoteWindows {
public:
    HWND shell = reinterpret_cast<HWND>(static_cast<uintptr_t>(kCeFirstRemoteHandle + 8));
    bool visible = false;
    int foreground = 0;
    std::vector<UINT> posted;
    HWND Find(LPCWSTR cls, LPCWSTR) override {
        return cls && std::u16string(cls) == u"CShellMainWnd" ? shell : nullptr;
    }
    bool Owns(HWND h) override { return h == shell; }
    std::u16string ClassName(HWND) override { return u"CShellMainWnd"; }
    BOOL Show(HWND, int cmd) override {
        BOOL was = visible;
        visible = cmd != SW_HIDE;
        return was;
    }
    BOOL IsVisible(HWND) override { return visible; }
    BOOL SetForeground(HWND) override { return ++foreground, TRUE; }
    BOOL Post(HWND, UINT msg, WPARAM, LPARAM) override { return posted.push_back(msg), TRUE; }
    BOOL Send(HWND, UINT, WPARAM w, LPARAM, UINT timeout, DWORD_PTR* r) override {
        if (timeout < 100)
            return FALSE; // too slow to answer
        *r = w + 1;
        return TRUE;
    }
    BOOL GetRect(HWND, RECT* r) override { return *r = RECT{0, 0, 720, 480}, TRUE; }
};

} // namespace

TEST(CeWindow, FindShowAndForegroundOnLocalWindows) {
    HWND a = MakeWindow(u"FindMeWnd");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(FindWindowW(u"FindMeWnd", nullptr), a);
    EXPECT_EQ(FindWindowW(u"FindMeWnd", u"other title"), nullptr);
    EXPECT_TRUE(SetWindowTextW(a, u"title"));
    EXPECT_EQ(FindWindowW(u"FindMeWnd", u"title"), a);
    EXPECT_FALSE(ShowWindow(a, SW_SHOW)); // was hidden
    EXPECT_TRUE(IsWindowVisible(a));
    EXPECT_TRUE(ShowWindow(a, SW_HIDE));
    HWND b = MakeWindow(u"OtherWnd");
    EXPECT_TRUE(SetForegroundWindow(a));
    EXPECT_EQ(CeWindowTable::Instance().StackingOrder().back(), a);
    RECT r{};
    EXPECT_TRUE(SetWindowPos(a, nullptr, 10, 20, 30, 40, 0));
    EXPECT_TRUE(GetWindowRect(a, &r));
    EXPECT_EQ(r.right, 40);
    EXPECT_EQ(r.bottom, 60);
    EXPECT_FALSE(SetWindowPos(a, nullptr, 0, 0, -1, 5, 0));
    EXPECT_TRUE(DestroyWindow(a));
    EXPECT_FALSE(IsWindow(a));
    EXPECT_FALSE(SetForegroundWindow(a));
    DestroyWindow(b);
}

TEST(CeWindow, BadArgumentsAndUnknownWindowsAreRefused) {
    EXPECT_FALSE(RegisterClassW(nullptr));
    WNDCLASSW noProc{};
    noProc.lpszClassName = u"NoProcWnd";
    EXPECT_FALSE(RegisterClassW(&noProc));
    EXPECT_EQ(Create(u"NeverRegistered"), nullptr);
    EXPECT_EQ(Create(nullptr), nullptr);
    EXPECT_EQ(FindWindowW(nullptr, nullptr), nullptr);
    EXPECT_FALSE(GetWindowRect(nullptr, nullptr));
    EXPECT_FALSE(GetMessageW(nullptr, nullptr, 0, 0));
    EXPECT_FALSE(PeekMessageW(nullptr, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(DispatchMessageW(nullptr), 0);
    HWND bogus = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
    EXPECT_FALSE(PostMessageW(bogus, WM_USER, 0, 0));
    EXPECT_EQ(SendMessageW(bogus, WM_USER, 0, 0), 0);
    DWORD_PTR result = 99;
    EXPECT_EQ(SendMessageTimeout(bogus, WM_USER, 0, 0, SMTO_NORMAL, 100, &result), 0);
    EXPECT_EQ(result, 0u);
    EXPECT_FALSE(IsWindowVisible(bogus));
    EXPECT_FALSE(ShowWindow(bogus, SW_SHOW));
}

TEST(CeWindow, RemoteWindowsAreConsultedForWhatIsNotLocal) {
    FakeRemote remote;
    CeSetRemoteWindows(&remote);
    CeTrace::CaptureInMemory(true);
    CeTrace::ClearCaptured();
    HWND shell = FindWindowW(u"CShellMainWnd", nullptr);
    EXPECT_EQ(shell, remote.shell);
    EXPECT_FALSE(IsWindowVisible(shell));
    ShowWindow(shell, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(shell));
    EXPECT_TRUE(SetForegroundWindow(shell));
    EXPECT_TRUE(PostMessageW(shell, 0xC001, 0, 0));
    DWORD_PTR result = 0;
    EXPECT_NE(SendMessageTimeout(shell, 0xFFF0001A, 2, 1, SMTO_NORMAL, 2000, &result), 0);
    EXPECT_EQ(result, 3u);
    EXPECT_EQ(SendMessageTimeout(shell, 0xFFF0001A, 2, 1, SMTO_NORMAL, 10, &result), 0);
    EXPECT_EQ(remote.foreground, 1);
    EXPECT_EQ(remote.posted, (std::vector<UINT>{0xC001}));
    EXPECT_EQ(CeTrace::Captured(), (std::vector<std::string>{"post CShellMainWnd 0xc001 0 0",
                                                             "send CShellMainWnd 0xfff0001a 2 1",
                                                             "send CShellMainWnd 0xfff0001a 2 1"}));
    CeSetRemoteWindows(nullptr);
    EXPECT_EQ(FindWindowW(u"CShellMainWnd", nullptr), nullptr);

    CeTrace::ClearCaptured();
    PostQuitMessage(3);
    UINT_PTR id = SetTimer(nullptr, 0, 60000, [](HWND, UINT, UINT_PTR, DWORD) {});
    KillTimer(nullptr, 12345);
    EXPECT_EQ(CeTrace::Captured(),
              (std::vector<std::string>{"quit 3", "timer-set " + std::to_string(id) + " 60000",
                                        "timer-kill 12345"}));
    CeTrace::CaptureInMemory(false);
    KillTimer(nullptr, id);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)); // not the quit
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// Timer procedures: only what SetTimer registered is ever called, so a forged WM_TIMER (from
// another process) never calls an outside address.
TEST(CeTimerDispatchTest, OnlyARegisteredProcedureIsCalled) {
    HWND w = MakeWindow(u"TimerTrustWnd");
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(SetTimer(w, 7, 1000, Registered), 7u);
    ASSERT_EQ(SetTimer(w, 8, 1000, nullptr), 8u);
    ASSERT_EQ(SetTimer(w, 9, 1000, Registered), 9u);
    KillTimer(w, 9);
    const auto forged = reinterpret_cast<LPARAM>(Forged);
    const auto registered = reinterpret_cast<LPARAM>(Registered);
    const struct {
        const char* what;
        HWND hwnd;
        WPARAM id;
        LPARAM lParam;
        const char* calls; // all that runs
    } cases[] = {
        {"the registered procedure", w, 7, registered, "proc 7"},
        {"a plain window timer", w, 8, 0, "window 8 0"},
        {"a forged address for the window", w, 7, forged, "window 7 0"},
        {"the procedure under another id", w, 8, registered, "window 8 0"},
        {"the procedure for no window", nullptr, 7, registered, ""},
        {"a killed timer's procedure", w, 9, registered, "window 9 0"},
    };
    for (const auto& c : cases) {
        g_calls.clear();
        MSG msg{c.hwnd, WM_TIMER, c.id, c.lParam, 0, {0, 0}};
        DispatchMessageW(&msg);
        EXPECT_EQ(g_calls, c.calls) << c.what;
    }
    DestroyWindow(w);
}

// A fresh queue for each message test; hooks, window and clock are put back after it.
class CeMessages : public testing::Test {
protected:
    void SetUp() override { queue.Reset(); }
    void TearDown() override {
        queue.SetInputHook(nullptr);
        queue.SetIdleHook(nullptr);
        DestroyWindow(w);
        queue.Reset(); // a late task is dropped
        CeUiClock::SetVirtual(false);
    }
    CeMessageQueue& queue = CeMessageQueue::Instance();
    HWND w = nullptr;
};

TEST_F(CeMessages, SendFromAnotherThreadRunsOnTheUiThreadAndHonoursTheTimeout) {
    w = MakeWindow(u"SendTargetWnd");
    std::atomic<LRESULT> answered{-1}, timedOut{-1};
    std::atomic<bool> stopped{false};
    std::thread sender([&] {
        DWORD_PTR r = 0;
        answered = SendMessageTimeout(w, WM_USER, 21, 0, SMTO_NORMAL, 5000, &r) ? LRESULT(r) : -2;
        PostMessageW(w, WM_NULL, 0, 0); // wakes the loop to see the answer
        while (!stopped.load())
            std::this_thread::yield();
        // Nobody pumps the queue for this one: it must give up.
        timedOut = SendMessageTimeout(w, WM_USER, 1, 0, SMTO_NORMAL, 50, &r);
    });
    MSG msg;
    while (answered.load() == -1) {
        queue.WaitForWork();
        while (queue.Peek(&msg, nullptr, 0, 0, true))
            DispatchMessageW(&msg);
    }
    stopped = true;
    sender.join();
    EXPECT_EQ(answered.load(), 42);
    EXPECT_EQ(timedOut.load(), 0);
}

TEST_F(CeMessages, QuitComesAfterPostedMessagesAndTimersAfterBoth) {
    w = MakeWindow(u"OrderWnd");
    CeUiClock::SetVirtual(true);
    SetTimer(w, 1, 10, nullptr);
    CeUiClock::Advance(20 * 1000);
    PostMessageW(w, WM_USER + 5, 0, 0);
    PostQuitMessage(4);
    MSG msg;
    std::vector<UINT> order;
    while (GetMessageW(&msg, nullptr, 0, 0))
        order.push_back(msg.message);
    EXPECT_EQ(msg.wParam, 4u);
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 5}));
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    DestroyWindow(w);
    EXPECT_EQ(CeTimerQueue::Instance().Count(), 0u);
}

// While a timer is always due (each tick outlasts its period), input is still read between
// ticks, and the idle hook runs only when nothing waits.
TEST_F(CeMessages, InputComesBeforeADueTimerAndIdleOnlyWhenNothingWaits) {
    w = MakeWindow(u"InputOrderWnd");
    CeUiClock::SetVirtual(true);
    std::vector<std::string> events;
    int pendingInput = 2;
    queue.SetInputHook([&] {
        if (pendingInput == 0)
            return false;
        --pendingInput;
        events.push_back("input");
        return true;
    });
    queue.SetIdleHook([&] {
        events.push_back("idle");
        PostQuitMessage(0);
        return true;
    });
    SetTimer(w, 1, 10, nullptr);
    CeUiClock::Advance(20 * 1000);
    MSG msg;
    int ticks = 0;
    while (GetMessageW(&msg, nullptr, 0, 0) && events.size() < 20) {
        ASSERT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
        events.push_back("timer");
        if (++ticks < 3) { // a slow tick: the timer is due again, and a tap came meanwhile
            CeUiClock::Advance(2000 * 1000);
            pendingInput = 1;
        }
    }
    EXPECT_EQ(events, (std::vector<std::string>{"input", "input", "timer", "input", "timer",
                                                "input", "timer", "idle"}));
}
