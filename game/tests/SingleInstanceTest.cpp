// One game at a time, between real processes of one device root.
#include "MoleTestBase.h"

#include "ce/CeRemoteWindowLink.h"
#include "ce/ce.h"

#include <chrono>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

using namespace std::chrono_literals;

// A started copy of the game, ended by its process id when the test is done with it.
class GameProcess {
public:
    explicit GameProcess(const std::string& root) {
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            env.emplace_back(*e);
        }
        env.push_back("CE_DEVICE_ROOT=" + root);
        env.push_back("SDL_VIDEODRIVER=dummy");
        env.push_back("SDL_AUDIODRIVER=dummy");
        std::vector<char*> envp;
        for (std::string& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        std::string exe = BURROWBOP_TEST_EXECUTABLE;
        char* argv[] = {exe.data(), nullptr};
        started_ = posix_spawn(&pid_, exe.c_str(), nullptr, nullptr, argv, envp.data()) == 0;
    }
    ~GameProcess() { Stop(); }

    bool Started() const { return started_; }
    // Waits up to timeout for the process to end; its exit code, or -1 if it runs on.
    int WaitForExit(std::chrono::milliseconds timeout) {
        for (auto waited = 0ms; waited < timeout; waited += 20ms) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                started_ = false;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(20ms);
        }
        return -1;
    }
    void Stop() {
        if (started_) {
            kill(pid_, SIGTERM);
            if (WaitForExit(5000ms) == -1) {
                kill(pid_, SIGKILL);
                waitpid(pid_, nullptr, 0);
            }
            started_ = false;
        }
    }

private:
    pid_t pid_ = 0;
    bool started_ = false;
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

} // namespace
