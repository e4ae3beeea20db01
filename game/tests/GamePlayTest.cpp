// Whole games driven by taps and the virtual clock, and around them: the sound switch,
// the return to the menu, the last game's mole, the random holes.
#include "MoleTestBase.h"

#include "ce/ce.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

namespace {

// The logo slides up 200 steps of 2 pixels; only then do the timers and the start sound
// come. The status line and the hammers are small enough that a shift of a pixel passes
// the screenshots.
void ExpectStartRound() {
    const auto slide = TraceWith("move 0 192 ");
    ASSERT_EQ(slide.size(), 200u);
    EXPECT_EQ(slide.back(), "move 0 192 -344");
    EXPECT_EQ(
        TraceWith({"timer", "sound"}),
        (std::vector<std::string>{"timer-set 10 1000", "timer-kill 11", SoundLine("appear.wav")}));
    EXPECT_EQ(RectOf(Wnd().statusText), (Rect{10, 10, 700, 30}));
}

// The mole timer stops and the idle timer starts before the lose sound; the picture
// slides 148 steps and is repainted at every one of them.
void ExpectGameOver() {
    auto got = TraceWith({"timer", "sound", "move 261", "present"});
    got.erase(got.begin(), std::find(got.begin(), got.end(), "timer-kill 10"));
    ASSERT_GE(got.size(), 3u);
    EXPECT_EQ(
        std::vector<std::string>(got.begin(), got.begin() + 3),
        (std::vector<std::string>{"timer-kill 10", "timer-set 11 500", SoundLine("lose.wav")}));
    EXPECT_EQ(std::count_if(got.begin(), got.end(),
                            [](const std::string& l) { return l.starts_with("move"); }),
              148);
    // After the slide come the three backgrounds and then the status line.
    EXPECT_EQ(got.size(), 3u + 2 * 148 + 4);
    for (size_t i = 3; i + 1 < got.size() && got[i].starts_with("move"); i += 2)
        EXPECT_EQ(got[i + 1], "present") << got[i];
    EXPECT_EQ(Wnd().gameOverButton.GetPosY(), 184);
}

using GamePlayTest = MoleTestBase;

// A game without hits, with sound on; the sixth tick ends it.
TEST_F(GamePlayTest, GameWithoutHitsEndsAtTheSixthTick) {
    WriteConfigText(SettingsText(u"小儿子", u"1000", u"1"));
    std::vector<MzTest::Step> script{MzTest::ClearTrace, StartGame, ExpectStartRound,
                                     MzTest::ClearTrace};
    script.insert(script.end(), 5, AdvanceToNextMole);
    script.insert(script.end(), {MzTest::ClearTrace, AdvanceToNextMole, ExpectGameOver});
    Run(script);
}

// The status line shows the hits at the next step, not at the hit. The intervals shorten
// by 10 ms a mole (the taps land only if they do) and stay at 210 ms from mole 80 on.
TEST_F(GamePlayTest, HittingEveryMoleKeepsFourHammersAndRunsAt210) {
    WriteConfigText(SettingsText(u"小儿子", u"1000"));
    auto script = Play(90, 0);
    script.insert(script.begin() + 1, [] { EXPECT_EQ(StatusLine(), "") << "first game: empty"; });
    script.push_back([] {
        EXPECT_EQ(GameState.hits, 90);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(IsListed(Wnd().hammerPictures[i]), i < 4) << i;
        }
        EXPECT_FALSE(Wnd().moleButtons[GameState.moleHole].IsVisible());
        EXPECT_EQ(StatusLine(), "已打中89次 - 最高纪录:小儿子1000次");
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
        int moles; // let go before the tap: -1 in the menu
        bool soundBefore;
        const std::vector<std::string>& sounds; // played by the tap
        bool readOnly = false;
    } cases[] = {{-1, false, title}, {-1, true, mute},       {1, false, none},
                 {1, true, mute},    {-1, true, mute, true}, {-1, false, title, true}};
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
        WaitOutGuard();
        MzTest::ClearTrace();
        TapCentre(Wnd().gameOverButton);
    });
    script.push_back([] {
        // The last mole goes first; the logo slides back 200 steps to where it stood.
        const auto moves = TraceWith({"hide 2", "move 0 192"});
        ASSERT_EQ(moves.size(), 201u);
        EXPECT_EQ(moves.front(), "hide " + std::to_string(200 + GameState.moleHole));
        EXPECT_EQ(moves.back(), "move 0 192 56");
        EXPECT_FALSE(IsListed(Wnd().gameOverButton));
        EXPECT_FALSE(Wnd().statusText.IsVisible());
        EXPECT_TRUE(Wnd().logoPicture.IsVisible());
        EXPECT_EQ(TraceWith("sound"), std::vector<std::string>{SoundLine("title.wav")});
        MzTest::ClearTrace();
        TapMole();
    });
    script.push_back([] { EXPECT_EQ(GameState.hits, 1) << "the last game's"; });
    script.push_back(WaitOutGuard);
    Append(script, Play(0, 6));
    script.push_back([] { EXPECT_EQ(Wnd().gameOverButton.GetPosY(), 184); });
    Run(script);
}

// The holes of the first moles of a game started at the given local time, each hit.
std::vector<int> HolesOfAGameStartedAt(const SYSTEMTIME& start, int moles) {
    std::vector<int> holes;
    std::vector<MzTest::Step> script{[start] {
        CeClockSetLocalTime(&start);
        StartGame();
    }};
    for (int i = 0; i < moles; ++i) {
        script.push_back(AdvanceToNextMole);
        script.push_back([&holes] {
            holes.push_back(GameState.moleHole);
            TapMole(); // so that the game goes on
        });
    }
    MzTest::RunApp(script);
    return holes;
}

// Games started at times with the same sum of hour, minute and second follow the same
// sequence, other sums another; the holes are 0 to 8 and a mole never comes up where
// the one before it stood (nor, in the first game, in hole 0, where none stood).
TEST_F(GameFlowTest, HolesFollowTheSeedAndNeverRepeat) {
    const auto at = [](WORD h, WORD m, WORD s) { return SYSTEMTIME{2026, 12, 0, 6, h, m, s, 0}; };
    const std::vector<int> reference = HolesOfAGameStartedAt(at(10, 20, 30), 40);
    const struct {
        SYSTEMTIME start;
        bool same;
    } cases[] = {{at(12, 18, 30), true},
                 {at(23, 36, 1), true},
                 {at(10, 20, 31), false},
                 {at(0, 0, 0), false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.start.wHour << ":" << c.start.wMinute << ":" << c.start.wSecond);
        Restart();
        const std::vector<int> holes = HolesOfAGameStartedAt(c.start, 40);
        EXPECT_EQ(holes == reference, c.same);
        int previous = 0;
        for (int hole : holes) {
            EXPECT_TRUE(hole >= 0 && hole < 9) << hole;
            EXPECT_NE(hole, previous);
            previous = hole;
        }
    }
}

// The next game's first mole avoids the hole of the last game's last mole, whatever
// the seed.
TEST_F(GameFlowTest, NextGameStartsAwayFromTheLastMole) {
    std::vector<MzTest::Step> script;
    auto last = std::make_shared<int>(0); // none yet: hole 0
    for (WORD second = 0; second < 30; ++second) {
        script.push_back([second, last] {
            const SYSTEMTIME start{2026, 12, 0, 6, 10, 20, second, 0};
            CeClockSetLocalTime(&start);
            StartGame();
        });
        script.push_back(AdvanceToNextMole);
        script.push_back([last] { EXPECT_NE(GameState.moleHole, *last); });
        script.insert(script.end(), 5, AdvanceToNextMole);
        script.push_back([last] {
            *last = GameState.moleHole;
            WaitOutGuard();
            TapCentre(Wnd().gameOverButton);
        });
        script.push_back(WaitOutGuard);
    }
    script.push_back([] { EXPECT_TRUE(GameState.inMenu) << "every game ran to its end"; });
    Run(script);
}

} // namespace
