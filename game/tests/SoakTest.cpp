// A thousand games in one run must leave memory and handles where they were.
#include "MoleTestBase.h"

#include "ce/CeHandleTable.h"

#include <fstream>
#include <malloc.h>

namespace {

constexpr int kGames = 1000;
constexpr int kWarmUpGames = 20;

struct Usage {
    size_t heapBytes = mallinfo2().uordblks;
    size_t handles = CeHandleTable::Count();
};

using SoakTest = MoleTestBase;

TEST_F(SoakTest, ThousandGamesDoNotGrowMemoryOrHandles) {
    Usage afterWarmUp, atEnd;
    int games = 0;
    // The window stays hidden so that the thousand slides cost no painting; the commands
    // go straight to the window instead of through taps on the screen.
    std::vector<MzTest::Step> script{[] { ShowWindow(Wnd().m_hWnd, SW_HIDE); }};
    for (int g = 0; g < kGames; ++g) {
        script.push_back([] { Wnd().OnUiCommand(CMoleMainWnd::kStartId, 0); });
        script.push_back([] { MzTest::Advance(1000); });
        // Hit one mole now and then so that the hit path runs too.
        script.push_back([g] {
            if (g % 2 == 0) {
                Wnd().OnUiCommand(CMoleMainWnd::kMoleIdBase + GameState.moleHole, 0);
            }
        });
        // A game with a hit needs one miss more to end.
        script.insert(script.end(), g % 2 == 0 ? 6 : 5, AdvanceToNextMole);
        script.push_back([&, g] {
            ASSERT_FALSE(GameState.inMenu);
            ASSERT_GT(GameState.misses, 5) << "game " << g;
            ++games;
            Wnd().OnUiCommand(CMoleMainWnd::kGameOverId, 0);
            MzTest::ClearTrace();
            if (g + 1 == kWarmUpGames) {
                afterWarmUp = Usage();
            } else if (g + 1 == kGames) {
                atEnd = Usage();
            }
        });
    }
    Run(script);
    EXPECT_EQ(games, kGames);
    EXPECT_EQ(atEnd.handles, afterWarmUp.handles);
    // Allow for allocator noise, not for a leak per game.
    EXPECT_LT(atEnd.heapBytes, afterWarmUp.heapBytes + 64 * 1024)
        << "heap grew from " << afterWarmUp.heapBytes << " to " << atEnd.heapBytes;
}

} // namespace
