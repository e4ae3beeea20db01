// Whole games driven by taps and the virtual clock, and around them: the sound switch,
// the return to the menu, the last game's mole, the random holes.
#include "MoleTestBase.h"

#include "ce/ce.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

namespace {

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
}

void ExpectGameOverInOrder() {
    std::vector<std::string> expected{"timer-set 10 940", "timer-kill 11",       "timer-kill 10",
                                      "timer-set 11 500", SoundLine("lose.wav"), "list 261"};
    for (int i = 1; i <= 148; ++i) {
        expected.push_back("move 261 125 " + std::to_string(-112 + 2 * i));
        expected.push_back("present");
    }
    // The three backgrounds are repainted once after the slide, and after that only the
    // message loop repaints the status line.
    expected.insert(expected.end(), {"present", "present", "present", "present"});
    // Repaints before the game over belong to the tick's mole step.
    auto got = TraceWith({"timer", "sound", "list", "unlist", "move 261", "present"});
    const auto over = std::find(got.begin(), got.end(), "timer-kill 10");
    got.erase(std::remove(got.begin(), over, "present"), over);
    EXPECT_EQ(got, expected);
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
    WriteConfigText(SettingsText(u"小儿子", u"1000", u"1"));
    std::vector<MzTest::Step> script{MzTest::ClearTrace, StartGame, ExpectStartRoundInOrder,
                                     MzTest::ClearTrace};
    for (int tick = 1; tick <= 6; ++tick) {
        script.push_back([tick] {
            if (tick == 6) {
                MzTest::ClearTrace();
            }
            AdvanceToNextMole();
        });
        script.push_back([tick] {
            SCOPED_TRACE(tick);
            for (int i = 0; i < 5; ++i) {
                EXPECT_EQ(IsListed(Wnd().hammerPictures[i]), i < 5 - std::min(tick, 5)) << i;
            }
            if (tick == 6) {
                ExpectGameOverInOrder();
            }
        });
    }
    Run(script);
}

// The status line shows the hits at the next step, not at the hit. Interval k is
// 1000 - 10 k up to mole 79, then the timer is left at 210 ms.
TEST_F(GamePlayTest, HittingEveryMoleKeepsFourHammersAndRunsAt210) {
    WriteConfigText(SettingsText(u"小儿子", u"1000"));
    auto script = Play(90, 0);
    script.insert(script.begin() + 1, [] {
        EXPECT_EQ(StatusLine(), "") << "first game: empty";
        MzTest::ClearTrace();
    });
    script.push_back([] {
        EXPECT_EQ(GameState.hits, 90);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(IsListed(Wnd().hammerPictures[i]), i < 4) << i;
        }
        EXPECT_FALSE(Wnd().moleButtons[GameState.moleHole].IsVisible());
        EXPECT_EQ(StatusLine(), "已打中89次 - 最高纪录:小儿子1000次");
        std::vector<std::string> expected;
        for (int k = 1; k < 80; ++k) {
            expected.push_back("timer-set 10 " + std::to_string(1000 - 10 * k));
        }
        EXPECT_EQ(TraceWith("timer-set 10 "), expected);
        MzTest::Advance(209);
    });
    script.push_back([] {
        EXPECT_EQ(GameState.molesShown, 90) << "not a millisecond sooner";
        MzTest::Advance(1);
    });
    script.push_back([] { EXPECT_EQ(GameState.molesShown, 91); });
    Run(script);
}

std::u16string ConfigWithSound(bool on) {
    return SettingsText(u"小儿子", u"1000", on ? u"1" : u"0");
}

using SoundSwitchTest = MoleTestBase;

// A file that cannot be written leaves the switch working for this run.
TEST_F(SoundSwitchTest, TapWritesAtOnceAndPlaysWhatItShould) {
    const std::vector<std::string> none, title{SoundLine("title.wav")}, mute{SoundLine("mute.wav")};
    const struct {
        int moles; // let go before the tap: -1 in the menu, 6 after the game over
        bool soundBefore;
        const std::vector<std::string>& sounds; // played by the tap
        bool readOnly = false;
    } cases[] = {{-1, false, title},     {-1, true, mute},        {1, false, none},
                 {1, true, mute},        {6, false, none},        {6, true, mute},
                 {-1, true, mute, true}, {-1, false, title, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "moles " << c.moles << " sound " << c.soundBefore
                                          << " read-only " << c.readOnly);
        Restart();
        WriteConfigText(ConfigWithSound(c.soundBefore));
        if (c.readOnly) {
            std::filesystem::permissions(ConfigHostPath(), std::filesystem::perms::owner_read);
        }
        auto script = c.moles < 0 ? std::vector<MzTest::Step>{} : Play(0, c.moles);
        script.push_back([] {
            MzTest::ClearTrace();
            TapCentre(Wnd().soundButton);
        });
        script.push_back([&] {
            EXPECT_EQ(GameState.soundOn, !c.soundBefore);
            EXPECT_EQ(TraceWith("sound"), c.sounds);
            EXPECT_EQ(ReadConfig(), IniBytes(ConfigWithSound(c.soundBefore == c.readOnly)));
        });
        Run(script);
    }
}

using GameFlowTest = MoleTestBase;

// Back in the menu the last mole is gone (a tap there hits nothing), though it stayed up
// under the game-over picture. With sound on a game plays its start, hit and lose
// sounds, and the menu its music. The next game starts afresh.
TEST_F(GameFlowTest, ReturnToTheMenuAndPlayAgain) {
    WriteConfigText(ConfigWithSound(true));
    auto script = Play(1, 6);
    script.insert(script.begin(), MzTest::ClearTrace);
    script.push_back([] {
        EXPECT_EQ(TraceWith("sound"),
                  (std::vector<std::string>{SoundLine("appear.wav"), SoundLine("hit.wav"),
                                            SoundLine("lose.wav")}));
        MzTest::ClearTrace();
        TapCentre(Wnd().gameOverButton);
    });
    script.push_back([] {
        // The last mole goes first; the logo slides 200 steps down and the menu buttons
        // come back in the first three.
        std::vector<std::string> expected{"hide " + std::to_string(200 + GameState.moleHole),
                                          "unlist 261"};
        for (int i = 0; i < 200; ++i) {
            expected.push_back("move 0 192 " + std::to_string(-344 + 2 * (i + 1)));
            if (i < 3) {
                expected.push_back("list " + std::to_string(250 + i));
            }
        }
        EXPECT_EQ(TraceWith({"hide 2", "list", "unlist", "move 0 192"}), expected);
        EXPECT_FALSE(Wnd().statusText.IsVisible());
        EXPECT_TRUE(Wnd().logoPicture.IsVisible());
        EXPECT_EQ(TraceWith("sound"), std::vector<std::string>{SoundLine("title.wav")});
        MzTest::ClearTrace();
        TapMole();
    });
    script.push_back([] { EXPECT_EQ(GameState.hits, 1) << "the last game's"; });
    Append(script, Play(0, 6));
    script.push_back([] { EXPECT_EQ(Wnd().gameOverButton.GetPosY(), 184); });
    Run(script);
}

// The holes of a seed, from the process's own generator (the phone's, which the CE
// tests pin down).
std::vector<int> PredictedHoles(unsigned seed, int previous, int count) {
    srand(seed);
    std::vector<int> holes;
    while (static_cast<int>(holes.size()) < count) {
        const int hole = rand() % 9;
        if (hole != previous) {
            holes.push_back(hole);
            previous = hole;
        }
    }
    return holes;
}

// Games started at times with the same sum of hour, minute and second follow the same
// sequence; a new game's first mole never stands where the last one stood (the
// prediction skips the previous hole).
TEST_F(GameFlowTest, HolesFollowTheSeedAndNeverRepeat) {
    const WORD starts[][3] = {{10, 20, 30}, {12, 18, 30}, {0, 1, 59},
                              {23, 59, 59}, {0, 0, 0},    {7, 7, 7}};
    std::vector<MzTest::Step> script;
    for (const auto& hms : starts) {
        SYSTEMTIME start{2026, 12, 0, 6, hms[0], hms[1], hms[2], 0};
        auto previous = std::make_shared<int>(0);
        auto holes = std::make_shared<std::vector<int>>();
        script.push_back([start, previous] {
            *previous = GameState.moleHole;
            CeClockSetLocalTime(&start);
            StartGame();
        });
        for (int i = 0; i < 6; ++i) {
            script.push_back(AdvanceToNextMole);
            script.push_back([holes] { holes->push_back(GameState.moleHole); });
        }
        script.push_back([start, previous, holes] {
            const unsigned seed = start.wHour + start.wMinute + start.wSecond;
            EXPECT_EQ(*holes, PredictedHoles(seed, *previous, 6)) << "seed " << seed;
            TapCentre(Wnd().gameOverButton);
        });
    }
    Run(script);
}

} // namespace
