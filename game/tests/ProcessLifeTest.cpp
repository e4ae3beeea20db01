// The life of the game process: stop signals end the game as closing its window does,
// even beside a phone whose shell hangs, a second start maps no window, and without a
// display the game says so and ends. One game at a time, between real processes of
// one device root.
#include "MoleTestBase.h"

#include "PhoneProcess.h"
#include "ce/CeRemoteWindowLink.h"
#include "ce/CeUiClock.h"
#include "ce/CeWindowTable.h"
#include "ce/ce.h"
#include "testing/TestOtherUser.h"
#include "testing/TestProcess.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The class of the topmost visible window of this process.
std::u16string TopmostClass() {
    CeWindowTable& table = CeWindowTable::Instance();
    std::vector<HWND> order = table.StackingOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (table.IsVisible(*it))
            return table.ClassName(*it);
    return u"";
}

// A started copy of the game, asked to end when the test is done with it.
struct GameProcess : TestProcess {
    ~GameProcess() { Stop(5000ms); }
};

class ProcessLifeTest : public MoleTestBase {
protected:
    void SetUp() override {
        MoleTestBase::SetUp();
        if (std::getenv("BURROWBOP_SKIP_PROCESS_TESTS") != nullptr)
            GTEST_SKIP() << "process tests switched off";
    }
    // The real game on this device root, with SDL's dummy video and audio.
    bool StartGame(TestProcess& game, const std::vector<std::string>& env = {}) {
        std::vector<std::string> all{"CE_DEVICE_ROOT=" + Root(), "SDL_VIDEODRIVER=dummy",
                                     "SDL_AUDIODRIVER=dummy"};
        all.insert(all.end(), env.begin(), env.end());
        return game.Spawn(BURROWBOP_TEST_EXECUTABLE, {}, all);
    }
    static HWND WaitForGameWindow() {
        for (auto waited = 0ms; waited < 20000ms; waited += 20ms) {
            if (HWND w = FindWindowW(u"MoleMainWnd", nullptr))
                return w;
            std::this_thread::sleep_for(20ms);
        }
        return nullptr;
    }
};

// What the player sees of the two: each idle tick waits on a hung shell, yet the title
// screen takes taps; the About box opens and closes and 退出 ends the game in seconds.
TEST_F(ProcessLifeTest, TitleScreenTakesTapsWhileTheShellHangs) {
    auto shell = PhoneProcess::Start({"shell", "--hang"});
    ASSERT_TRUE(shell && shell->WaitFor("shell: ready", 10000ms));
    bool ranAfterExit = false;
    const auto start = Clock::now();
    const int code = Run({[] {
                              CeUiClock::Advance(600 * 1000); // an idle tick is due
                              TapCentre(Wnd().menuButtons[1]);
                          },
                          [] {
                              EXPECT_TRUE(MessageBoxShown());
                              MzTest::KeyPress('\r');
                          },
                          [] {
                              EXPECT_FALSE(MessageBoxShown());
                              CeUiClock::Advance(600 * 1000);
                              TapCentre(Wnd().menuButtons[2]);
                          },
                          [&] { ranAfterExit = true; }});
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(ranAfterExit) << "退出 ends the game";
    // The start-up request runs its whole 2 s out; later ones give up quickly.
    EXPECT_LT(Clock::now() - start, 4500ms);
}

// A second copy brings the game forward while its About box is open: the box stays
// above the main window and keeps the input, so a tap on 开始 starts nothing.
TEST_F(ProcessLifeTest, SecondCopyBringsTheGameForwardWithItsModalBoxOnTop) {
    GameProcess second;
    bool secondEnded = false;
    std::vector<MzTest::Step> script{[] { TapCentre(Wnd().menuButtons[1]); },
                                     [&] { ASSERT_TRUE(StartGame(second)); }};
    // The box's loop answers the second copy's calls between these steps.
    for (int i = 0; i < 200; ++i)
        script.push_back([&] {
            if (!secondEnded) {
                std::this_thread::sleep_for(25ms);
                secondEnded = second.Wait(0ms) == 0;
            }
        });
    script.push_back([&] {
        EXPECT_TRUE(secondEnded);
        EXPECT_EQ(TopmostClass(), u"MzMessageBoxWnd") << "the box stays above the main window";
        TapCentre(Wnd().menuButtons[0]);
        EXPECT_TRUE(GameState.inMenu) << "a tap beside the box starts no game";
        MzTest::KeyPress('\r');
    });
    EXPECT_EQ(Run(std::move(script)), 0);
}

// SIGTERM, SIGINT and SIGHUP end the game like closing its window, within 2.5 s even
// while a request waits on the hung shell; a second signal while quitting changes
// nothing. The settings stay as they were.
TEST_F(ProcessLifeTest, StopSignalsEndTheGameCleanlyWhileTheShellHangs) {
    auto shell = PhoneProcess::Start({"shell", "--hang"});
    ASSERT_TRUE(shell && shell->WaitFor("shell: ready", 10000ms));
    const struct {
        int sig;
        bool twice;
    } cases[] = {{SIGTERM, false}, {SIGINT, false}, {SIGHUP, false}, {SIGTERM, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(strsignal(c.sig)) + (c.twice ? ", twice" : ""));
        GameProcess game;
        ASSERT_TRUE(StartGame(game));
        ASSERT_NE(WaitForGameWindow(), nullptr);
        std::this_thread::sleep_for(300ms); // inside the start-up request to the shell
        const std::string settings = ReadConfig();
        const auto sent = Clock::now();
        game.Signal(c.sig);
        if (c.twice) {
            std::this_thread::sleep_for(20ms);
            game.Signal(c.sig);
        }
        EXPECT_EQ(game.Wait(10000ms), 0);
        EXPECT_LT(Clock::now() - sent, 4000ms)
            << "2.5 s, and slack for a loaded machine or a sanitizer build";
        EXPECT_EQ(ReadConfig(), settings);
    }
}

// The desktop window's size, place and full screen come back at the next start, from
// the file in the config folder (the test's own: the device root points
// XDG_CONFIG_HOME into itself). A place off every screen is passed
// over; either way the window's place at the end is written back. SDL's dummy screen
// is 1024 x 768.
TEST_F(ProcessLifeTest, WindowPlaceComesBackAtTheNextStart) {
    const std::string file = Root() + "/.config/burrowbop/window";
    const auto text = [](int x, int y, int w, int h, bool full) {
        return "# desktop window\nx " + std::to_string(x) + "\ny " + std::to_string(y) +
               "\nwidth " + std::to_string(w) + "\nheight " + std::to_string(h) + "\nfullscreen " +
               (full ? "1" : "0") + "\n";
    };
    const struct {
        const char* what;
        std::string saved; // "" for no file
        std::string after;
    } cases[] = {
        {"a place on the screen", text(100, 50, 800, 540, false), text(100, 50, 800, 540, false)},
        {"full screen", text(30, 20, 900, 600, true), text(30, 20, 900, 600, true)},
        {"a place off the screen: centred", text(5000, 50, 800, 540, false),
         text(112, 114, 800, 540, false)},
        {"none", "", text(152, 144, 720, 480, false)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(Root() + "/.config");
        if (!c.saved.empty()) {
            std::filesystem::create_directories(Root() + "/.config/burrowbop");
            std::ofstream(file) << c.saved;
        }
        GameProcess game;
        ASSERT_TRUE(StartGame(game));
        ASSERT_NE(WaitForGameWindow(), nullptr);
        std::this_thread::sleep_for(300ms);
        game.Signal(SIGTERM);
        EXPECT_EQ(game.Wait(10000ms), 0);
        std::ifstream in(file);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.after);
    }
}

// Without DISPLAY and WAYLAND_DISPLAY (and no driver asked for) the game does not run
// invisibly: one line on stderr says what it needs, and the exit code is not 0.
TEST_F(ProcessLifeTest, WithoutADisplayOneLineAndAFailure) {
    const std::string err = Root() + "/stderr.txt";
    TestProcess game;
    ASSERT_TRUE(game.Spawn(
        "/usr/bin/env", {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "SDL_VIDEODRIVER",
                         "CE_DEVICE_ROOT=" + Root(), "/bin/sh", "-c",
                         std::string("exec '") + BURROWBOP_TEST_EXECUTABLE + "' 2>'" + err + "'"}));
    const int code = game.Wait(20000ms);
    EXPECT_NE(code, 0);
    EXPECT_NE(code, -1) << "it ends";
    const std::string text = ReadFile("stderr.txt");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_NE(text.find("needs a display"), std::string::npos) << text;
    EXPECT_NE(text.find("DISPLAY="), std::string::npos) << text;
}

class SingleInstanceTest : public ProcessLifeTest {
protected:
    void SetUp() override {
        ProcessLifeTest::SetUp();
        if (!IsSkipped())
            CeRemoteWindowLink::Install(); // this process reaches the windows of its games
    }
};

// The desktop window opens when the game first shows its window: a second start,
// which only brings the first one forward, opens none.
TEST_F(SingleInstanceTest, SecondStartBringsTheHiddenWindowBackAndEnds) {
    GameProcess first;
    ASSERT_TRUE(StartGame(first, {"CE_TRACE=" + Root() + "/first.trace"}));
    HWND window = WaitForGameWindow();
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_HIDE);
    ASSERT_FALSE(IsWindowVisible(window));
    GameProcess second;
    ASSERT_TRUE(StartGame(second, {"CE_TRACE=" + Root() + "/second.trace"}));
    EXPECT_EQ(second.Wait(20000ms), 0) << "the second start ends at once";
    EXPECT_TRUE(IsWindowVisible(window)) << "the running window is shown again";
    first.Stop(5000ms);
    EXPECT_NE(ReadFile("first.trace").find("display open"), std::string::npos);
    EXPECT_EQ(ReadFile("second.trace").find("display open"), std::string::npos);
}

// End to end with the live USB function driver of the phone tool: the game hands the
// driver its message number at start, and "phone usb connect" ends it. The name is
// taken beforehand by a process without a window: that does not stop the start.
TEST_F(SingleInstanceTest, UsbConnectThroughTheLiveDriverEndsTheGame) {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, u"Mole");
    ASSERT_NE(mutex, nullptr);
    auto driver = PhoneProcess::Start({"usb-driver"});
    ASSERT_NE(driver, nullptr);
    ASSERT_TRUE(driver->WaitFor("usb-driver: ready", 20000ms));
    GameProcess game;
    ASSERT_TRUE(StartGame(game));
    EXPECT_TRUE(driver->WaitFor("usb-driver: message number", 20000ms))
        << "the game registers its message with the driver";
    ASSERT_NE(WaitForGameWindow(), nullptr);
    EXPECT_EQ(game.Wait(300ms), -1) << "the game runs";
    EXPECT_EQ(PhoneProcess::Run({"usb", "connect"}), 0);
    EXPECT_EQ(game.Wait(20000ms), 0) << "the game quits";
    driver->Stop(5000ms);
    CloseHandle(mutex);
}

using ManyCopiesTest = SingleInstanceTest;

// Copies started together on one root: while the first has taken the name but not
// yet shown its window, the others wait for the window instead of starting too.
// Exactly one game stays; every other copy ends, having brought it forward.
TEST_F(ManyCopiesTest, StartedTogetherTheyLeaveExactlyOneGame) {
    std::vector<int> rounds{20, 20, 20}; // copies started together
    // A hundred sanitized games at once would need gigabytes.
#ifndef __SANITIZE_ADDRESS__
    rounds.insert(rounds.end(), {100, 100});
#endif
    for (size_t round = 0; round < rounds.size(); ++round) {
        const int copies = rounds[round];
        SCOPED_TRACE(std::to_string(copies) + " copies, round " + std::to_string(round));
        std::vector<std::unique_ptr<GameProcess>> games;
        for (int i = 0; i < copies; ++i) {
            games.push_back(std::make_unique<GameProcess>());
            ASSERT_TRUE(StartGame(*games.back()));
        }
        // Generous: a hundred programs start on a small shared machine.
        auto deadline = Clock::now() + 90s;
        std::vector<int> codes(games.size(), -1);
        size_t running = games.size();
        while (running > 1 && Clock::now() < deadline) {
            std::this_thread::sleep_for(100ms);
            running = 0;
            for (size_t i = 0; i < games.size(); ++i) {
                if (codes[i] == -1)
                    codes[i] = games[i]->Wait(0ms);
                running += codes[i] == -1 ? 1 : 0;
            }
        }
        EXPECT_EQ(running, 1u) << "games left running";
        EXPECT_NE(WaitForGameWindow(), nullptr);
        EXPECT_EQ(std::count_if(codes.begin(), codes.end(), [](int code) { return code > 0; }), 0)
            << "copies that ended with an error";
        for (size_t i = 0; i < games.size(); ++i) {
            if (codes[i] == -1) {
                EXPECT_EQ(games[i]->Wait(300ms), -1) << "the one game runs on";
            }
        }
        games.clear(); // stops the game; the next round starts on a free name
    }
}

// Another user's locks on an older root's mutex and config.ini are given up on after
// their time limit: the game comes up, answers and ends on SIGTERM.
TEST_F(ProcessLifeTest, GameStartsOnALockedRoot) {
    if (!TestOtherUser::Available()) {
        std::cout << "needs root to run a child as a second uid (65534); not tested here\n";
        return;
    }
    const std::string kCreateLock = ".ce/mutex/.create.lock";
    WriteConfigBytes(std::string("\xFF\xFE", 2));
    Device().Put(kCreateLock, "");
    std::vector<std::unique_ptr<TestProcess>> holders;
    for (const std::string& file : {kCreateLock, std::string(kConfig)}) {
        Device().OpenToOthers(file);
        holders.push_back(std::make_unique<TestProcess>());
        ASSERT_TRUE(
            TestOtherUser::Hold(*holders.back(), Device().Host(file), TestOtherUser::Lock::Flock));
    }
    GameProcess game;
    ASSERT_TRUE(StartGame(game));
    HWND w = WaitForGameWindow();
    ASSERT_NE(w, nullptr);
    DWORD_PTR result = 0;
    EXPECT_NE(SendMessageTimeout(w, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result), 0)
        << "the game does not answer";
    game.Terminate();
    EXPECT_EQ(game.Wait(5000ms), 0) << "SIGTERM did not end it";
}

} // namespace
