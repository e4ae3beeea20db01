// One game at a time, between real processes of one device root.
#include "MoleTestBase.h"

#include "PhoneProcess.h"

#include "ce/CeRemoteWindowLink.h"
#include "ce/ce.h"
#include "testing/TestProcess.h"

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// A started copy of the game, ended when the test is done with it.
class GameProcess {
public:
    explicit GameProcess(const std::string& root) {
        process_.Spawn(
            BURROWBOP_TEST_EXECUTABLE, {},
            {"CE_DEVICE_ROOT=" + root, "SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
    }
    ~GameProcess() { Stop(); }

    bool Started() const { return process_.Started(); }
    // Waits up to timeout for the process to end; its exit code, or -1 if it runs on.
    int WaitForExit(std::chrono::milliseconds timeout) { return process_.Wait(timeout); }
    void Stop() { process_.Stop(5000ms); }

private:
    TestProcess process_;
};

HWND WaitForGameWindow(std::chrono::milliseconds timeout) {
    for (auto waited = 0ms; waited < timeout; waited += 50ms) {
        if (HWND w = FindWindowW(u"MoleMainWnd", nullptr)) {
            return w;
        }
        std::this_thread::sleep_for(50ms);
    }
    return nullptr;
}

class SingleInstanceTest : public MoleTestBase {
protected:
    void SetUp() override {
        MoleTestBase::SetUp();
        if (std::getenv("BURROWBOP_SKIP_PROCESS_TESTS") != nullptr) {
            GTEST_SKIP() << "process tests switched off";
        }
        CeRemoteWindowLink::Install(); // this process reaches the windows of the games it starts
    }
};

TEST_F(SingleInstanceTest, SecondStartBringsTheHiddenWindowBackAndEnds) {
    GameProcess first(Root());
    ASSERT_TRUE(first.Started());
    HWND window = WaitForGameWindow(20000ms);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_HIDE);
    ASSERT_FALSE(IsWindowVisible(window));

    GameProcess second(Root());
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(second.WaitForExit(20000ms), 0) << "the second start ends at once";
    EXPECT_TRUE(IsWindowVisible(window)) << "the running window is shown again";
    EXPECT_EQ(FindWindowW(u"MoleMainWnd", nullptr), window) << "no second window";

    // Once the first instance is gone the name is free again.
    first.Stop();
    GameProcess third(Root());
    ASSERT_TRUE(third.Started());
    EXPECT_NE(WaitForGameWindow(20000ms), nullptr);
    EXPECT_EQ(third.WaitForExit(300ms), -1) << "the new instance runs";
}

TEST_F(SingleInstanceTest, TakenNameWithoutAWindowDoesNotStopTheStart) {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, u"Mole");
    ASSERT_NE(mutex, nullptr);
    GameProcess game(Root());
    ASSERT_TRUE(game.Started());
    EXPECT_NE(WaitForGameWindow(20000ms), nullptr);
    EXPECT_EQ(game.WaitForExit(300ms), -1);
    game.Stop();
    CloseHandle(mutex);
}

// End to end with the live USB function driver of the phone tool: the game hands the
// driver its message number at start, and "phone usb connect" ends it.
TEST_F(SingleInstanceTest, UsbConnectThroughTheLiveDriverEndsTheGame) {
    auto driver = PhoneProcess::Start({"usb-driver"});
    ASSERT_NE(driver, nullptr);
    ASSERT_TRUE(driver->WaitFor("usb-driver: ready", 20000ms));
    GameProcess game(Root());
    ASSERT_TRUE(game.Started());
    EXPECT_TRUE(driver->WaitFor("usb-driver: message number", 20000ms))
        << "the game registers its message with the driver";
    ASSERT_NE(WaitForGameWindow(20000ms), nullptr);
    EXPECT_EQ(game.WaitForExit(300ms), -1) << "the game runs";
    EXPECT_EQ(PhoneProcess::Run({"usb", "connect"}), 0);
    EXPECT_EQ(game.WaitForExit(20000ms), 0) << "the game quits";
    driver->Stop(5000ms);
}

} // namespace

// Copies started together on one root: while the first has taken the name but not
// yet shown its window, the others wait for the window instead of starting too.
// Exactly one game stays; every other copy ends, having brought it forward.
class ManyCopiesTest : public SingleInstanceTest {};

TEST_F(ManyCopiesTest, StartedTogetherTheyLeaveExactlyOneGame) {
    const struct {
        int copies;
        int rounds;
    } cases[] = {
        {20, 3},
#ifndef __SANITIZE_ADDRESS__ // a hundred sanitized games at once would need gigabytes
        {100, 2},
#endif
    };
    for (const auto& c : cases) {
        for (int round = 0; round < c.rounds; ++round) {
            SCOPED_TRACE(std::to_string(c.copies) + " copies, round " + std::to_string(round));
            std::vector<std::unique_ptr<GameProcess>> games;
            for (int i = 0; i < c.copies; ++i) {
                games.push_back(std::make_unique<GameProcess>(Root()));
                ASSERT_TRUE(games.back()->Started());
            }
            // Generous: a hundred programs start on a small shared machine.
            auto deadline = std::chrono::steady_clock::now() + 90s;
            std::vector<int> codes(games.size(), -1);
            size_t running = games.size();
            while (running > 1 && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(100ms);
                running = 0;
                for (size_t i = 0; i < games.size(); ++i) {
                    if (codes[i] == -1)
                        codes[i] = games[i]->WaitForExit(0ms);
                    running += codes[i] == -1 ? 1 : 0;
                }
            }
            EXPECT_EQ(running, 1u) << "games left running";
            EXPECT_NE(WaitForGameWindow(20000ms), nullptr);
            int failed = 0;
            for (int code : codes)
                failed += code > 0 ? 1 : 0;
            EXPECT_EQ(failed, 0) << "copies that ended with an error";
            for (size_t i = 0; i < games.size(); ++i) {
                if (codes[i] == -1) {
                    EXPECT_EQ(games[i]->WaitForExit(300ms), -1) << "the one game runs on";
                }
            }
            games.clear(); // stops the game; the next round starts on a free name
        }
    }
}
