// Around the games: the sound switch, the return to the menu, the last game's mole, the
// random holes.
#include "MoleTestBase.h"

#include "ce/ce.h"

#include <memory>

namespace {

std::u16string ConfigWithSound(bool on) {
    return SettingsText(u"小儿子", u"1000", on ? u"1" : u"0");
}

using SoundSwitchTest = MoleTestBase;

TEST_F(SoundSwitchTest, TapWritesAtOnceAndPlaysWhatItShould) {
    const std::vector<std::string> none, title{SoundLine("title.wav")}, mute{SoundLine("mute.wav")};
    const struct {
        int moles; // let go before the tap: -1 in the menu, 6 after the game over
        bool soundBefore;
        const std::vector<std::string>& sounds; // played by the tap
    } cases[] = {{-1, false, title}, {-1, true, mute}, {1, false, none},
                 {1, true, mute},    {6, false, none}, {6, true, mute}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "moles " << c.moles << " sound " << c.soundBefore);
        Restart();
        WriteConfigText(ConfigWithSound(c.soundBefore));
        auto script = c.moles < 0 ? std::vector<MzTest::Step>{} : Play(0, c.moles);
        script.push_back([] {
            MzTest::ClearTrace();
            TapCentre(Wnd().soundButton);
        });
        script.push_back([&] {
            EXPECT_EQ(GameState.soundOn, !c.soundBefore);
            EXPECT_EQ(TraceWith("sound"), c.sounds);
            EXPECT_EQ(ReadConfig(), IniBytes(ConfigWithSound(!c.soundBefore)));
        });
        Run(script);
    }
}

using GameFlowTest = MoleTestBase;

// Mole buttons shown among the ten the game sets up.
int VisibleMoles() {
    int n = 0;
    for (int k = 0; k < GameState.holeCount[0]; ++k) {
        n += Wnd().moleButtons[k].IsVisible() ? 1 : 0;
    }
    return n;
}

// Back in the menu the last mole is gone (a tap there hits nothing), though it stayed up
// under the game-over picture; the next game's first mole avoids its hole. With sound on
// a game plays its start, hit and lose sounds, and the menu its music.
TEST_F(GameFlowTest, ReturnToTheMenuAndPlayAgain) {
    WriteConfigText(ConfigWithSound(true));
    auto last = std::make_shared<int>(-1);
    auto script = Play(1, 6);
    script[0] = [] {
        MzTest::ClearTrace();
        StartGame();
    };
    script.push_back([last] {
        *last = GameState.moleHole; // up, as ExpectOnlyTheCurrentMoleUp checks at the game over
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
        CMoleMainWnd& w = Wnd();
        EXPECT_TRUE(GameState.inMenu);
        EXPECT_FALSE(w.statusText.IsVisible());
        EXPECT_TRUE(w.logoPicture.IsVisible());
        for (UiPicture& h : w.hammerPictures) {
            EXPECT_FALSE(IsListed(h));
        }
        EXPECT_EQ(VisibleMoles(), 0);
        EXPECT_EQ(TraceWith("sound"), std::vector<std::string>{SoundLine("title.wav")});
        MzTest::ClearTrace();
        TapMole();
    });
    script.push_back([] {
        EXPECT_EQ(GameState.hits, 1) << "the last game's";
        EXPECT_EQ(TraceWith("sound"), std::vector<std::string>{});
        StartGame();
    });
    script.push_back([] {
        EXPECT_EQ(VisibleMoles(), 0);
        TapMole();
    });
    script.push_back([] {
        EXPECT_EQ(GameState.hits, 0);
        AdvanceToNextMole();
    });
    script.push_back([last] {
        EXPECT_EQ(GameState.misses, 1);
        EXPECT_NE(GameState.moleHole, *last);
        EXPECT_EQ(GameState.prevHole, *last);
        EXPECT_EQ(VisibleMoles(), 1);
    });
    script.insert(script.end(), 5, AdvanceToNextMole);
    script.push_back([] {
        EXPECT_EQ(GameState.molesShown, 6);
        EXPECT_TRUE(IsListed(Wnd().gameOverButton));
        EXPECT_EQ(Wnd().gameOverButton.GetPosY(), 184);
    });
    Run(script);
}

// The phone's generator, to predict the holes of a seed.
std::vector<int> PredictedHoles(unsigned seed, int previous, int count) {
    uint32_t state = seed;
    std::vector<int> holes;
    while (static_cast<int>(holes.size()) < count) {
        state = state * 214013u + 2531011u;
        const int hole = static_cast<int>((state >> 16) & 0x7FFF) % 9;
        if (hole != previous) {
            holes.push_back(hole);
            previous = hole;
        }
    }
    return holes;
}

// Games started at times with the same sum of hour, minute and second follow the same
// sequence; a new game's first mole never stands where the last one stood.
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
            EXPECT_NE(holes->front(), *previous);
            TapCentre(Wnd().gameOverButton);
        });
    }
    Run(script);
}

} // namespace
