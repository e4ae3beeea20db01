// Around the games: the sound switch, the return to the menu, the last game's mole, the
// random holes.
#include "MoleTestBase.h"

#include "ce/ce.h"

#include <memory>

namespace {

std::u16string ConfigWithSound(bool on) {
    return SettingsText(u"小儿子", u"1000", on ? u"1" : u"0");
}

void StartGame() {
    TapCentre(Wnd().menuButtons[0]);
}

// Steps that start a game and let six moles pass untouched.
void AppendLostGame(std::vector<MzTest::Step>& script) {
    script.push_back([] { StartGame(); });
    for (int i = 0; i < 6; ++i) {
        script.push_back([] { AdvanceToNextMole(); });
    }
}

enum class Where { Menu, Game, GameOver };

struct SwitchCase {
    const char* name;
    Where where;
    bool soundBefore;
    std::vector<std::string> sounds; // played by the tap
};

void PrintTo(const SwitchCase& c, std::ostream* os) {
    *os << c.name;
}

class SoundSwitchTest : public MoleTestBase, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(SoundSwitchTest, TapWritesAtOnceAndPlaysWhatItShould) {
    const SwitchCase& c = GetParam();
    WriteConfigText(ConfigWithSound(c.soundBefore));
    std::vector<MzTest::Step> script;
    if (c.where == Where::Game) {
        script.push_back([] { StartGame(); });
        script.push_back([] { AdvanceToNextMole(); });
    } else if (c.where == Where::GameOver) {
        AppendLostGame(script);
    }
    script.push_back([] {
        MzTest::ClearTrace();
        TapCentre(Wnd().soundButton);
    });
    script.push_back([&c, this] {
        EXPECT_EQ(GameState.soundOn, !c.soundBefore);
        EXPECT_EQ(TraceWith("sound"), c.sounds);
        EXPECT_EQ(ReadConfig(), IniBytes(ConfigWithSound(!c.soundBefore)));
    });
    Run(script);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SoundSwitchTest,
    ::testing::Values(SwitchCase{"MenuOn", Where::Menu, false, {SoundLine("title.wav")}},
                      SwitchCase{"MenuOff", Where::Menu, true, {SoundLine("mute.wav")}},
                      SwitchCase{"GameOn", Where::Game, false, {}},
                      SwitchCase{"GameOff", Where::Game, true, {SoundLine("mute.wav")}},
                      SwitchCase{"GameOverOn", Where::GameOver, false, {}},
                      SwitchCase{"GameOverOff", Where::GameOver, true, {SoundLine("mute.wav")}}),
    [](const auto& info) { return std::string(info.param.name); });

using GameFlowTest = MoleTestBase;

TEST_F(GameFlowTest, SoundsOfAGameWithSoundOn) {
    WriteConfigText(ConfigWithSound(true));
    std::vector<MzTest::Step> script{[] {
        MzTest::ClearTrace();
        StartGame();
    }};
    script.push_back([] {
        EXPECT_EQ(TraceWith("sound"), std::vector<std::string>{SoundLine("appear.wav")});
        AdvanceToNextMole();
    });
    script.push_back([] { TapMole(); });
    for (int i = 0; i < 6; ++i) {
        script.push_back([] { AdvanceToNextMole(); });
    }
    script.push_back([] {
        EXPECT_EQ(TraceWith("sound"),
                  (std::vector<std::string>{SoundLine("appear.wav"), SoundLine("hit.wav"),
                                            SoundLine("lose.wav")}));
        MzTest::ClearTrace();
        TapCentre(Wnd().gameOverButton);
    });
    script.push_back(
        [] { EXPECT_EQ(TraceWith("sound"), std::vector<std::string>{SoundLine("title.wav")}); });
    Run(script);
}

TEST_F(GameFlowTest, ReturnToTheMenuAndPlayAgain) {
    std::vector<MzTest::Step> script;
    AppendLostGame(script);
    script.push_back([] {
        EXPECT_TRUE(IsListed(Wnd().gameOverButton));
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
        std::vector<std::string> got;
        for (const std::string& line : MzTest::Trace()) {
            if (line.rfind("hide 2", 0) == 0 || line.rfind("list", 0) == 0 ||
                line.rfind("unlist", 0) == 0 || line.rfind("move 0 192", 0) == 0) {
                got.push_back(line);
            }
        }
        EXPECT_EQ(got, expected);
        CMoleMainWnd& w = Wnd();
        EXPECT_TRUE(GameState.inMenu);
        EXPECT_FALSE(IsListed(w.gameOverButton));
        EXPECT_FALSE(w.statusText.IsVisible());
        EXPECT_EQ(w.logoPicture.GetPosY(), 56);
        EXPECT_TRUE(w.logoPicture.IsVisible());
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(IsListed(w.menuButtons[i])) << i;
        }
        for (UiPicture& h : w.hammerPictures) {
            EXPECT_FALSE(IsListed(h));
        }
    });
    AppendLostGame(script);
    script.push_back([] {
        EXPECT_EQ(GameState.molesShown, 6);
        EXPECT_TRUE(IsListed(Wnd().gameOverButton));
        EXPECT_EQ(Wnd().gameOverButton.GetPosY(), 184);
    });
    Run(script);
}

// Mole buttons shown among the ten the game sets up.
int VisibleMoles() {
    int n = 0;
    for (int k = 0; k < GameState.holeCount[0]; ++k) {
        n += Wnd().moleButtons[k].IsVisible() ? 1 : 0;
    }
    return n;
}

// The mole of the game's last tick stays up under the game-over picture, is gone from
// the menu (a tap there hits nothing), and the next game's first mole avoids its hole.
TEST_F(GameFlowTest, LastMoleStaysUnderThePictureButLeavesTheMenu) {
    auto last = std::make_shared<int>(-1);
    std::vector<MzTest::Step> script;
    AppendLostGame(script);
    script.push_back([last] {
        *last = GameState.moleHole;
        EXPECT_TRUE(Wnd().moleButtons[*last].IsVisible());
        EXPECT_EQ(VisibleMoles(), 1);
        TapCentre(Wnd().gameOverButton);
    });
    script.push_back([last] {
        EXPECT_EQ(VisibleMoles(), 0);
        MzTest::ClearTrace();
        TapMole();
    });
    script.push_back([] {
        EXPECT_EQ(GameState.hits, 0);
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
    Run(script);
}

// Through a long game with hits and misses, the menu and a second game: after every
// step at most one mole is up, it is the current one, and hole 9's never is.
TEST_F(GameFlowTest, AtMostOneMoleAtEveryStep) {
    WriteConfigText(ConfigWithSound(true));
    auto check = [](const char* where) {
        SCOPED_TRACE(where);
        EXPECT_LE(VisibleMoles(), 1);
        EXPECT_FALSE(Wnd().moleButtons[9].IsVisible());
        for (int k = 0; k < 10; ++k) {
            if (Wnd().moleButtons[k].IsVisible()) {
                EXPECT_EQ(k, GameState.moleHole);
            }
        }
    };
    std::vector<MzTest::Step> script{[check] {
        check("start-up");
        StartGame();
    }};
    // Every 15th mole is let go: the sixth one let go ends the game at mole 76.
    for (int mole = 1; mole <= 76; ++mole) {
        script.push_back([check] {
            check("before step");
            AdvanceToNextMole();
        });
        script.push_back([check, mole] {
            check("step");
            ASSERT_EQ(GameState.molesShown, mole);
            if (mole % 15 != 0 && mole < 76) {
                TapMole();
            }
        });
    }
    script.push_back([check] {
        check("game over");
        EXPECT_TRUE(IsListed(Wnd().gameOverButton));
        TapCentre(Wnd().gameOverButton);
    });
    script.push_back([check] {
        check("menu");
        StartGame();
    });
    for (int i = 0; i < 6; ++i) {
        script.push_back([check] {
            check("second game");
            AdvanceToNextMole();
        });
    }
    script.push_back([check] { check("second game over"); });
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

SYSTEMTIME At(WORD hour, WORD minute, WORD second) {
    SYSTEMTIME t{};
    t.wYear = 2026;
    t.wMonth = 12;
    t.wDay = 6;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    return t;
}

// Games started at times with the same sum of hour, minute and second follow the same
// sequence; a new game's first mole never stands where the last one stood.
TEST_F(GameFlowTest, HolesFollowTheSeedAndNeverRepeat) {
    const SYSTEMTIME starts[] = {At(10, 20, 30), At(12, 18, 30), At(0, 1, 59),
                                 At(23, 59, 59), At(0, 0, 0),    At(7, 7, 7)};
    std::vector<MzTest::Step> script;
    for (const SYSTEMTIME& start : starts) {
        auto previous = std::make_shared<int>(0);
        auto holes = std::make_shared<std::vector<int>>();
        script.push_back([start, previous] {
            *previous = GameState.moleHole;
            CeClockSetLocalTime(&start);
            StartGame();
        });
        for (int i = 0; i < 6; ++i) {
            script.push_back([] { AdvanceToNextMole(); });
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
