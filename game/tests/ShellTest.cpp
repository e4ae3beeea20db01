// What the game tells the shell: the full-screen request at start-up, at every idle
// tick unless the phone is locked, at the start of a game and on the return to the
// menu, and the screen given back once at exit.
#include "MoleTestBase.h"

#include "ce/ce.h"

#include <optional>

namespace {

const std::string kTakeScreen = "send CShellMainWnd 0xfff0001a 2 1";
const std::string kGiveBack = "send CShellMainWnd 0xfff0001a 1 0";

LRESULT ShellProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return msg == 0xFFF0001Au ? 1 : DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A window of the shell's class in this process stands in for the phone's shell.
class ShellTest : public MoleTestBase {
protected:
    void SetUp() override {
        MoleTestBase::SetUp();
        WNDCLASSW wc{};
        wc.lpfnWndProc = ShellProc;
        wc.lpszClassName = u"CShellMainWnd";
        RegisterClassW(&wc);
        shell_ = CreateWindowExW(0, u"CShellMainWnd", u"", 0, 0, 0, 720, 480, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(shell_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(shell_);
        MoleTestBase::TearDown();
    }
    // Sets the shell's lock flag (nullopt: no value).
    static void SetLock(std::optional<DWORD> locked) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"System\\State\\MiniOneShell", 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  0);
        if (locked) {
            RegSetValueExW(key, u"IsLockState", 0, REG_DWORD,
                           reinterpret_cast<const BYTE*>(&*locked), sizeof(DWORD));
        } else {
            RegDeleteValueW(key, u"IsLockState");
        }
        RegCloseKey(key);
    }

private:
    HWND shell_ = nullptr;
};

TEST_F(ShellTest, StartUpAndIdleTicksTakeTheScreenUnlessLocked) {
    Run({[] {
             EXPECT_EQ(TraceWith("send"), std::vector<std::string>{kTakeScreen});
             MzTest::ClearTrace();
             MzTest::Advance(1000);
         },
         [] {
             EXPECT_EQ(TraceWith("send"), (std::vector<std::string>{kTakeScreen, kTakeScreen}));
             SetLock(1);
             MzTest::ClearTrace();
             MzTest::Advance(1000);
         },
         [] {
             EXPECT_TRUE(TraceWith("send").empty()) << "locked: the screen is left alone";
             SetLock(0);
             MzTest::ClearTrace();
             MzTest::Advance(500);
         },
         [] {
             EXPECT_EQ(TraceWith("send"), std::vector<std::string>{kTakeScreen});
             SetLock(std::nullopt);
             MzTest::ClearTrace();
             MzTest::Advance(500);
         },
         [] { EXPECT_EQ(TraceWith("send"), std::vector<std::string>{kTakeScreen}); }});
}

TEST_F(ShellTest, GameStartAndReturnToMenuTakeTheScreen) {
    std::vector<MzTest::Step> script{[] {
        MzTest::ClearTrace();
        TapCentre(Wnd().menuButtons[0]);
    }};
    script.push_back([] {
        EXPECT_EQ(TraceWith("send"), std::vector<std::string>{kTakeScreen});
        MzTest::ClearTrace();
    });
    for (int i = 0; i < 6; ++i) {
        script.push_back([] { AdvanceToNextMole(); });
    }
    script.push_back([] {
        EXPECT_TRUE(TraceWith("send").empty()) << "no idle tick while playing";
        TapCentre(Wnd().gameOverButton);
    });
    script.push_back([] { EXPECT_EQ(TraceWith("send"), std::vector<std::string>{kTakeScreen}); });
    Run(script);
}

TEST_F(ShellTest, QuitGivesTheScreenBackOnceBeforeTheQuit) {
    Run({[] {
        MzTest::ClearTrace();
        TapCentre(Wnd().menuButtons[2]);
    }});
    std::vector<std::string> order;
    for (const std::string& line : MzTest::Trace()) {
        if (line.rfind("send", 0) == 0 || line.rfind("quit", 0) == 0 ||
            line.rfind("sound", 0) == 0) {
            order.push_back(line);
        }
    }
    EXPECT_EQ(order, (std::vector<std::string>{kGiveBack, SoundLine("mute.wav"), "quit 0"}));
}

} // namespace
