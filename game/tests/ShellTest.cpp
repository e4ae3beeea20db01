// What the game tells the shell: the full-screen request at start-up, at every idle
// tick unless the phone is locked, at the start of a game and on the return to the
// menu, and the screen given back once at exit.
#include "MoleTestBase.h"

#include "PhoneProcess.h"
#include "ce/ce.h"
#include "shell/ShellProtocol.h"

namespace {

const std::string kTakeScreen = "send CShellMainWnd 0xfff0001a 2 1";
const std::string kGiveBack = "send CShellMainWnd 0xfff0001a 1 0";

LRESULT ShellProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return msg == ShellProtocol::kCommand ? 1 : DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A window of the shell's class in this process stands in for the phone's shell.
class ShellTest : public MoleTestBase {
protected:
    void SetUp() override {
        MoleTestBase::SetUp();
        WNDCLASSW wc{};
        wc.lpfnWndProc = ShellProc;
        wc.lpszClassName = ShellProtocol::kWindowClass;
        RegisterClassW(&wc);
        shell_ = CreateWindowExW(0, ShellProtocol::kWindowClass, u"", 0, 0, 0, 720, 480, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(shell_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(shell_);
        MoleTestBase::TearDown();
    }

private:
    HWND shell_ = nullptr;
};

bool WindowCovers(const RECT& area) {
    RECT r{};
    GetWindowRect(Wnd().m_hWnd, &r);
    return r.left == area.left && r.top == area.top && r.right == area.right &&
           r.bottom == area.bottom;
}

// The shell's work area changes between the places that take the screen (start-up, idle
// tick unless the phone is locked, game start, return to the menu); each of them sends
// the request and moves the window onto the new area at once, and nothing else does
// meanwhile. The quit command gives the screen back once, plays the mute sound, and ends
// the loop at once.
TEST_F(ShellTest, EveryFullScreenRequestMovesTheWindowOntoTheWorkArea) {
    static RECT area;
    static int calls;
    const RECT areas[] = {{0, 0, 720, 420},   // start-up
                          {0, 60, 720, 480},  // idle tick
                          {0, 30, 720, 450},  // game start
                          {0, 0, 720, 440},   // return to the menu
                          {0, 40, 720, 470}}; // quit
    area = areas[0];
    calls = 0;
    // The application object creates the window over the whole screen; only the
    // start-up's own request can bring it onto the first area.
    MzSetWorkAreaProvider([](RECT* r) {
        *r = calls++ == 0 ? RECT{0, 0, 720, 480} : area;
        return true;
    });
    const std::vector<std::string> takes{kTakeScreen};
    bool ranAfter = false;
    // An idle tick every 500 ms; the phone sets the lock flag before each.
    std::vector<MzTest::Step> script{[&] {
        EXPECT_TRUE(WindowCovers(areas[0])) << "start-up";
        EXPECT_EQ(TraceWith("send"), takes);
        ASSERT_EQ(PhoneProcess::Run({"lock", "on"}), 0);
        area = areas[1];
        MzTest::ClearTrace();
        MzTest::Advance(500);
    }};
    script.push_back([&] {
        EXPECT_TRUE(WindowCovers(areas[0])) << "locked idle tick";
        EXPECT_TRUE(TraceWith("send").empty());
        ASSERT_EQ(PhoneProcess::Run({"lock", "off"}), 0);
        MzTest::Advance(500);
    });
    script.push_back([&] {
        EXPECT_TRUE(WindowCovers(areas[1])) << "idle tick";
        EXPECT_EQ(TraceWith("send"), takes);
        area = areas[2];
        MzTest::ClearTrace();
        StartGame();
    });
    script.push_back([&] {
        EXPECT_TRUE(WindowCovers(areas[2])) << "game start";
        EXPECT_EQ(TraceWith("send"), takes);
        MzTest::ClearTrace();
        area = areas[3];
    });
    script.insert(script.end(), 6, AdvanceToNextMole);
    script.push_back([&] {
        EXPECT_TRUE(WindowCovers(areas[2])) << "a game leaves the window alone";
        EXPECT_TRUE(TraceWith("send").empty()) << "no idle tick while playing";
        WaitOutGuard();
        TapCentre(Wnd().gameOverButton);
    });
    script.push_back([&] {
        EXPECT_TRUE(WindowCovers(areas[3])) << "return to the menu";
        EXPECT_EQ(TraceWith("send"), takes);
        WaitOutGuard();
        area = areas[4];
        MzTest::ClearTrace();
        TapCentre(Wnd().menuButtons[2]);
    });
    script.push_back([&] { ranAfter = true; });
    EXPECT_EQ(Run(script), 0);
    EXPECT_TRUE(WindowCovers(areas[4])) << "quit";
    EXPECT_FALSE(ranAfter);
    EXPECT_EQ(TraceWith({"send", "quit", "sound"}),
              (std::vector<std::string>{kGiveBack, SoundLine("mute.wav"), "quit 0"}));
}

} // namespace
