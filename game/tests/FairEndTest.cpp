// A player still hammering holes as the game ends loses neither the record nor the
// game; a mole counts at the press; the last mole is out of play.
#include "MoleTestBase.h"

#include "ce/ce.h"

#include <string>
#include <vector>

namespace {

// Play(hits, 6) against this record: the last step is the tick that ends the game.
const std::u16string kSettings = SettingsText(u"Xi", u"3");

// The game-over picture slides in 148 steps, one present each.
constexpr int kMidSlide = 100;

// Screen pixels, the main window covering the screen: the middle of hole 4 (under the
// game-over picture once it is in), a bottom hole where the name entry's 取消 comes,
// and the bottom-centre hole where the menu's 退出 comes.
constexpr int kMiddleHole[2] = {350, 255};
constexpr int kCancelOverHole[2] = {154, 430};
constexpr int kExitOverHole[2] = {364, 371};

void QueueTapAt(const int (&at)[2]) {
    MzTest::QueueTap(at[0], at[1]);
}

bool Quit() {
    return !TraceWith("quit").empty();
}

using FairEndTest = MoleTestBase;

// Taps made while the game-over picture slides in are read only after the slide,
// when the name entry window stands under them: they go nowhere, and the record is
// typed and kept.
TEST_F(FairEndTest, TapMadeDuringTheSlideKeepsTheRecord) {
    WriteConfigText(kSettings);
    auto script = Play(4, 6);
    script.insert(script.end() - 1,
                  [] { MzTest::AtPresent(kMidSlide, [] { QueueTapAt(kCancelOverHole); }); });
    script.push_back([] {
        EXPECT_NE(EntryWindow(), nullptr) << "the tap did not cancel it";
        WaitOutGuard();
        MzTest::TypeText(u"Ann");
        TapEntryButton(1);
    });
    script.push_back([] { EXPECT_EQ(EntryWindow(), nullptr); });
    Run(script);
    EXPECT_EQ(ReadConfig(), IniBytes(SettingsText(u"Ann", u"4")));
}

// A double tap on the middle holes and then over 退出, made during the slide or just
// after it: neither the game-over picture nor the menu after it takes a tap within
// the guard, so nothing quits; after the guard each takes taps again.
TEST_F(FairEndTest, DoubleTapAtTheEndQuitsNothing) {
    const struct {
        const char* when;
        MzTest::Step lastTickBefore; // runs before the tick that ends the game
        MzTest::Step after;          // runs after that tick
    } cases[] = {
        {"during the slide",
         [] {
             MzTest::AtPresent(kMidSlide, [] {
                 QueueTapAt(kMiddleHole);
                 QueueTapAt(kExitOverHole);
             });
         },
         [] {}},
        {"just after the slide", [] {},
         [] {
             MzTest::Advance(100);
             QueueTapAt(kMiddleHole);
             MzTest::Advance(150);
             QueueTapAt(kExitOverHole);
         }},
        {"over the menu the picture made way for", [] {},
         [] {
             WaitOutGuard();
             QueueTapAt(kMiddleHole);
             MzTest::Advance(CMoleMainWnd::kStrayTapGuardMs - 1);
             QueueTapAt(kExitOverHole);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.when);
        Restart();
        WriteConfigText(kSettings);
        auto script = Play(0, 6);
        script.insert(script.end() - 1, c.lastTickBefore);
        script.push_back(c.after);
        bool stillRunning = false; // a quit would end the script before this step
        script.push_back([&stillRunning] {
            stillRunning = true;
            if (!GameState.inMenu) {
                WaitOutGuard();
                QueueTapAt(kMiddleHole);
            }
        });
        script.push_back([] {
            EXPECT_TRUE(GameState.inMenu) << "the picture takes taps once the guard is over";
            WaitOutGuard();
            QueueTapAt(kExitOverHole);
        });
        script.push_back([] { ADD_FAILURE() << "退出 takes taps once the guard is over"; });
        Run(script);
        EXPECT_TRUE(stillRunning) << "quit within the guard";
        EXPECT_TRUE(Quit());
    }
}

// The mole goes down on the press; it has moved on before the release, which adds
// nothing.
TEST_F(FairEndTest, MoleCountsAsHitWhenThePointerGoesDown) {
    WriteConfigText(SettingsText(u"Xi", u"3", u"1"));
    auto script = Play(0, 1);
    script.push_back([] {
        UiButton_Image& mole = Wnd().moleButtons[GameState.moleHole];
        MzTest::ClearTrace();
        MzTest::Press(mole.GetPosX() + 12, mole.GetPosY() + mole.GetHeight() / 2);
        EXPECT_EQ(GameState.hits, 1);
        EXPECT_EQ(TraceWith("sound"), std::vector<std::string>{SoundLine("hit.wav")});
    });
    script.push_back(AdvanceToNextMole);
    script.push_back([] {
        UiButton_Image& next = Wnd().moleButtons[GameState.moleHole];
        MzTest::Release(next.GetPosX() + 12, next.GetPosY() + next.GetHeight() / 2);
        EXPECT_EQ(GameState.hits, 1);
        EXPECT_TRUE(next.IsVisible()) << "the next mole stays up";
        EXPECT_EQ(TraceWith("sound").size(), 1u);
    });
    Run(script);
}

// The last mole stays up under the game-over picture; a tap on the part of it that the
// picture leaves free neither counts nor sounds. Start times that end games in each row.
TEST_F(FairEndTest, LastMoleTakesNoTapAfterTheGameEnds) {
    const WORD starts[][3] = {{10, 20, 30}, {12, 18, 30}, {0, 1, 59}, {7, 7, 7}};
    for (const auto& hms : starts) {
        Restart();
        WriteConfigText(SettingsText(u"Xi", u"3", u"1"));
        const SYSTEMTIME start{2026, 12, 0, 6, hms[0], hms[1], hms[2], 0};
        CeClockSetLocalTime(&start);
        auto script = Play(0, 6);
        script.push_back([] {
            UiButton_Image& mole = Wnd().moleButtons[GameState.moleHole];
            SCOPED_TRACE("hole " + std::to_string(GameState.moleHole));
            ASSERT_TRUE(mole.IsVisible());
            const int picture = Wnd().gameOverButton.GetPosY(); // its top; 112 high
            const int y = mole.GetPosY() < picture ? mole.GetPosY() + 5
                                                   : mole.GetPosY() + mole.GetHeight() - 5;
            ASSERT_TRUE(y < picture || y >= picture + 112);
            WaitOutGuard();
            MzTest::ClearTrace();
            MzTest::Tap(mole.GetPosX() + mole.GetWidth() / 2, y);
            EXPECT_EQ(GameState.hits, 0);
            EXPECT_TRUE(TraceWith("sound").empty());
            EXPECT_TRUE(mole.IsVisible());
            EXPECT_FALSE(GameState.inMenu);
        });
        Run(script);
    }
}

} // namespace
