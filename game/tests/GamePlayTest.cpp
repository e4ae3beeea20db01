// Whole games driven by taps and the virtual clock.
#include "MoleTestBase.h"

#include "ce/ce.h"

#include <algorithm>
#include <string>

namespace {

// Settings with a record the test cannot beat unless it wants to.
std::u16string ConfigWith(const char16_t* sound, const char16_t* score) {
    return SettingsText(u"小儿子", score, sound);
}

int HammersListed() {
    return static_cast<int>(std::count_if(std::begin(Wnd().hammerPictures),
                                          std::end(Wnd().hammerPictures),
                                          [](UiPicture& h) { return IsListed(h); }));
}

// After every step of a game only the current mole is up, and hole 9's never is.
void ExpectOnlyTheCurrentMoleUp() {
    EXPECT_LT(GameState.moleHole, 9);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(Wnd().moleButtons[k].IsVisible(), k == GameState.moleHole) << k;
    }
}

void ExpectStartRoundInOrder() {
    std::vector<std::string> slide;
    for (int i = 0; i < 200; ++i) {
        const int y = 56 - 2 * (i + 1);
        slide.push_back("move 0 192 " + std::to_string(y));
        if (y == -102) {
            slide.push_back("hide 0");
        }
        if (i < 3) {
            slide.push_back("unlist " + std::to_string(250 + i));
        }
    }
    EXPECT_EQ(TraceWith({"move 0 192 ", "hide 0", "unlist"}), slide);
    EXPECT_EQ(
        TraceWith({"list", "timer", "sound"}),
        (std::vector<std::string>{"list 0", "list 0", "list 0", "list 0", "list 0", "list 0",
                                  "timer-set 10 1000", "timer-kill 11", SoundLine("appear.wav")}));
    EXPECT_EQ(RectOf(Wnd().statusText), (Rect{10, 10, 700, 30}));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(RectOf(Wnd().hammerPictures[i]), (Rect{10 + 25 * i, 10, 24, 30})) << i;
    }
    EXPECT_FALSE(GameState.inMenu);
    EXPECT_EQ(HammersListed(), 5);
    EXPECT_FALSE(IsListed(Wnd().menuButtons[0]));
    EXPECT_EQ(Wnd().logoPicture.GetPosY(), 56 - 400);
    EXPECT_FALSE(Wnd().logoPicture.IsVisible());
    EXPECT_TRUE(IsListed(Wnd().statusText));
}

void ExpectGameOverInOrder() {
    std::vector<std::string> expected{"timer-set 10 940", "timer-kill 11",       "timer-kill 10",
                                      "timer-set 11 500", SoundLine("lose.wav"), "list 261"};
    for (int i = 1; i <= 148; ++i) {
        expected.push_back("move 261 125 " + std::to_string(-112 + 2 * i));
        expected.push_back("present");
    }
    // The three backgrounds are repainted once after the slide.
    expected.insert(expected.end(), {"present", "present", "present"});
    // Repaints before the game over belong to the tick's mole step.
    std::vector<std::string> got;
    bool over = false;
    for (const std::string& line :
         TraceWith({"timer", "sound", "list", "unlist", "move 261", "present"})) {
        over = over || line == "timer-kill 10";
        if (over || line != "present") {
            got.push_back(line);
        }
    }
    // After that only the message loop's own repaint of the status line.
    ASSERT_GE(got.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(got.begin(), got.begin() + expected.size()), expected);
    EXPECT_EQ(got.size() - expected.size(), 1u);
    EXPECT_EQ(StatusLine(), "已打中0次 - 最高纪录:小儿子1000次");
}

using GamePlayTest = MoleTestBase;

// A game without hits, with sound on. At its start the logo slides up 200 steps; the
// menu buttons leave in the first three and the logo is hidden at the first step that
// takes its top above -100. Then the status line and the hammers come, and last the
// timers and the start sound. Every tick lets a mole go and a hammer leave, from the
// right. The sixth ends the game: its own mole step, then the mole timer stops, the idle
// timer starts, the lose sound plays, the picture is listed and slides 148 steps down to
// y = 184, repainted at every step, and last the backgrounds are repainted.
TEST_F(GamePlayTest, GameWithoutHitsEndsAtTheSixthTick) {
    WriteConfigText(ConfigWith(u"1", u"1000"));
    std::vector<MzTest::Step> script{[] {
                                         MzTest::ClearTrace();
                                         StartGame();
                                     },
                                     [] {
                                         ExpectStartRoundInOrder();
                                         MzTest::ClearTrace();
                                     }};
    for (int tick = 1; tick <= 6; ++tick) {
        script.push_back([tick] {
            if (tick == 6) {
                MzTest::ClearTrace();
            }
            AdvanceToNextMole();
        });
        script.push_back([tick] {
            SCOPED_TRACE(tick);
            EXPECT_EQ(GameState.molesShown, tick);
            EXPECT_EQ(GameState.misses, tick);
            ExpectOnlyTheCurrentMoleUp();
            for (int i = 0; i < 5; ++i) {
                EXPECT_EQ(IsListed(Wnd().hammerPictures[i]), i < 5 - std::min(tick, 5)) << i;
            }
            EXPECT_EQ(IsListed(Wnd().gameOverButton), tick == 6);
            if (tick == 6) {
                ExpectGameOverInOrder();
            }
        });
    }
    Run(script);
}

TEST_F(GamePlayTest, HittingEveryMoleKeepsFourHammersAndRunsAt210) {
    WriteConfigText(ConfigWith(u"0", u"1000"));
    std::vector<MzTest::Step> script{StartGame, [] {
                                         EXPECT_EQ(StatusLine(), "") << "first game: empty";
                                         MzTest::ClearTrace();
                                     }};
    for (int mole = 1; mole <= 90; ++mole) {
        script.push_back(AdvanceToNextMole);
        script.push_back([mole] {
            ASSERT_EQ(GameState.molesShown, mole);
            EXPECT_EQ(GameState.misses, 1);
            EXPECT_EQ(HammersListed(), 4);
            ExpectOnlyTheCurrentMoleUp();
            // The status line shows the hits at the next step, not at the hit.
            const std::string status =
                "已打中" + std::to_string(mole - 1) + "次 - 最高纪录:小儿子1000次";
            EXPECT_EQ(StatusLine(), status);
            TapMole();
            EXPECT_EQ(GameState.hits, mole);
            EXPECT_EQ(StatusLine(), status);
        });
    }
    script.push_back([] {
        EXPECT_EQ(GameState.hits, 90);
        EXPECT_FALSE(Wnd().moleButtons[GameState.moleHole].IsVisible());
        // Interval k is 1000 - 10 k up to mole 79, then the timer is left at 210 ms.
        std::vector<std::string> expected;
        for (int k = 1; k < 80; ++k) {
            expected.push_back("timer-set 10 " + std::to_string(1000 - 10 * k));
        }
        EXPECT_EQ(TraceWith("timer-set 10 "), expected);
        // The mole after 90 comes 210 ms later, not a millisecond sooner.
        MzTest::Advance(209);
    });
    script.push_back([] {
        EXPECT_EQ(GameState.molesShown, 90);
        MzTest::Advance(1);
    });
    script.push_back([] { EXPECT_EQ(GameState.molesShown, 91); });
    Run(script);
}

} // namespace
