// The order of static construction and destruction of GameState and the application,
// seen in a fresh child process that runs the real start and quit (the other tests
// reset GameState and delete the window themselves).
#include "MoleTestBase.h"

#include "ce/CePath.h"
#include "testing/TestDeviceRoot.h"
#include "testing/TestProcess.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

using namespace std::chrono_literals;

constexpr const char* kChildVariable = "BURROWBOP_LIFETIME_CHILD";

// Built between GameState and the application object, so destroyed between them too:
// it sees, at construction, GameState built and the application object not yet, and
// at destruction the application object gone with its window and GameState whole.
struct LifetimeProbe {
    LifetimeProbe()
        : stateBuiltFirst(GameState.aboutText.Capacity() == 1024 &&
                          GameState.textBuf.Capacity() == 2048),
          appBuiltLater(MzGetApp() == nullptr) {}
    ~LifetimeProbe() {
        if (std::getenv(kChildVariable) == nullptr) {
            return;
        }
        const bool appGone = MzGetApp() == nullptr;
        const bool windowGone = FindWindowW(u"MoleMainWnd", nullptr) == nullptr;
        const bool stateWhole = Narrow(GameState.aboutText).find("Burrowbop") != std::string::npos;
        std::printf("lifetime: %d %d %d %d %d\n", stateBuiltFirst, appBuiltLater, appGone,
                    windowGone, stateWhole);
        std::fflush(stdout);
    }
    bool stateBuiltFirst;
    bool appBuiltLater;
};

__attribute__((init_priority(300))) LifetimeProbe probe;

// Runs only in the child that the test below starts.
TEST(GameStateLifetime, DISABLED_Child) {
    if (std::getenv(kChildVariable) == nullptr) {
        GTEST_SKIP();
    }
    // The initial values are GameStateRecord's, which every other test starts from.
    TestDeviceRoot root;
    ASSERT_FALSE(root.Path().empty());
    CePath::AddMount(MolePaths::kInstallFolder, BURROWBOP_TEST_ASSET_DIR);
    MzTest::Enable();
    EXPECT_EQ(MzTest::RunApp({[] { TapCentre(Wnd().menuButtons[2]); }}), 0);
    EXPECT_NE(theApp.mainWnd, nullptr) << "the window stays until static destruction";
}

TEST(GameStateLifetime, RealStartAndQuitInAFreshProcess) {
    TestProcess child;
    setenv(kChildVariable, "1", 1);
    const bool started =
        child.SpawnPiped("/proc/self/exe", {"--gtest_filter=GameStateLifetime.DISABLED_Child",
                                            "--gtest_also_run_disabled_tests"});
    unsetenv(kChildVariable);
    ASSERT_TRUE(started);
    child.CloseStdin();
    std::string line;
    EXPECT_TRUE(child.WaitFor("lifetime:", 30000ms, &line));
    EXPECT_EQ(line, "lifetime: 1 1 1 1 1")
        << "GameState built first, application after; at exit the application and its "
           "window gone, GameState whole";
    EXPECT_EQ(child.Wait(30000ms), 0) << "the child's checks failed";
}

} // namespace
