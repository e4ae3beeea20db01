// What a desktop player has beyond taps. Keys: the keypad's 3 x 3 block and
// Q W E / A S D / Z X C lie over the holes, by where the keys sit; Space and Enter
// start a game and leave the game-over picture; no key quits. The mouse pointer: a
// mallet that swings onto its hot spot while a button is held.
#include "MoleTestBase.h"

#include "game/MolePaths.h"

#include <algorithm>
#include <array>
#include <memory>
#include <set>

namespace {

// A key (by its USB usage id) and where the hole it hits stands on the screen.
struct HoleKey {
    const char* name;
    int scancode;
    int row;
    int column;
};
const HoleKey kHoleKeys[] = {
    {"keypad 7", 95, 0, 0}, {"keypad 8", 96, 0, 1}, {"keypad 9", 97, 0, 2}, {"keypad 4", 92, 1, 0},
    {"keypad 5", 93, 1, 1}, {"keypad 6", 94, 1, 2}, {"keypad 1", 89, 2, 0}, {"keypad 2", 90, 2, 1},
    {"keypad 3", 91, 2, 2}, {"Q", 20, 0, 0},        {"W", 26, 0, 1},        {"E", 8, 0, 2},
    {"A", 4, 1, 0},         {"S", 22, 1, 1},        {"D", 7, 1, 2},         {"Z", 29, 2, 0},
    {"X", 27, 2, 1},        {"C", 6, 2, 2},
};

// Row and column of a hole as it stands on the screen, from the holes' rectangles.
std::pair<int, int> PlaceOfHole(int hole) {
    std::set<int> rowTops;
    for (int k = 0; k < CMoleMainWnd::kMolesInPlay; ++k)
        rowTops.insert(Wnd().holePictures[k].GetPosY());
    const int top = Wnd().holePictures[hole].GetPosY();
    int column = 0;
    for (int k = 0; k < CMoleMainWnd::kMolesInPlay; ++k)
        column += Wnd().holePictures[k].GetPosY() == top &&
                  Wnd().holePictures[k].GetPosX() < Wnd().holePictures[hole].GetPosX();
    return {static_cast<int>(std::distance(rowTops.begin(), rowTops.find(top))), column};
}

bool KeyLiesOver(const HoleKey& key, int hole) {
    return PlaceOfHole(hole) == std::make_pair(key.row, key.column);
}

using KeyboardPlayTest = MoleTestBase;

// At every mole each key of another hole does nothing; of the two keys over the mole
// the first hits it and the second finds the hole empty. Which of the two goes first
// alternates at each visit of a hole, so every key hits at least once.
TEST_F(KeyboardPlayTest, EachKeyHitsOnlyTheMoleInTheHoleItLiesOver) {
    auto hitBy = std::make_shared<std::set<std::string>>();
    auto visits = std::make_shared<std::array<int, CMoleMainWnd::kMolesInPlay>>();
    std::vector<MzTest::Step> script{StartGame};
    for (int mole = 0; mole < 60; ++mole) {
        script.push_back(AdvanceToNextMole);
        script.push_back([hitBy, visits] {
            const int hole = GameState.moleHole;
            const int hits = GameState.hits;
            std::vector<const HoleKey*> over;
            for (const HoleKey& key : kHoleKeys) {
                if (KeyLiesOver(key, hole)) {
                    over.push_back(&key);
                    continue;
                }
                MzTest::KeyPress(0, key.scancode);
                ASSERT_EQ(GameState.hits, hits) << key.name << " with the mole in " << hole;
            }
            ASSERT_EQ(over.size(), 2u) << "hole " << hole;
            if ((*visits)[hole]++ % 2)
                std::swap(over[0], over[1]);
            MzTest::KeyPress(0, over[0]->scancode);
            EXPECT_EQ(GameState.hits, hits + 1) << over[0]->name << " hits hole " << hole;
            EXPECT_FALSE(Wnd().moleButtons[hole].IsVisible());
            MzTest::KeyPress(0, over[1]->scancode);
            EXPECT_EQ(GameState.hits, hits + 1) << over[1]->name << " after the hit";
            hitBy->insert(over[0]->name);
        });
    }
    script.push_back([hitBy] {
        for (const HoleKey& key : kHoleKeys)
            EXPECT_TRUE(hitBy->count(key.name)) << key.name << " never hit";
    });
    Run(script);
}

// A held key's repeats press nothing; the picture's key waits out any guard it has.
TEST_F(KeyboardPlayTest, SpaceAndEnterStartAGameAndLeaveTheGameOverPicture) {
    const struct {
        const char* name;
        int keycode;
        int scancode;
    } keys[] = {{"Enter", '\r', 40}, {"Space", ' ', 44}, {"keypad Enter", (1 << 30) | 88, 88}};
    for (const auto& key : keys) {
        SCOPED_TRACE(key.name);
        Restart();
        std::vector<MzTest::Step> script{[&] {
                                             MzTest::KeyPress(key.keycode, key.scancode, true);
                                             EXPECT_TRUE(GameState.inMenu) << "a repeat";
                                             MzTest::ClearTrace();
                                             MzTest::KeyPress(key.keycode, key.scancode);
                                         },
                                         [] { EXPECT_FALSE(GameState.inMenu); }};
        script.insert(script.end(), 6, AdvanceToNextMole);
        script.push_back([&] {
            ASSERT_TRUE(IsListed(Wnd().gameOverButton)) << "the game is over";
            MzTest::Advance(500);
            MzTest::KeyPress(key.keycode, key.scancode);
        });
        script.push_back([] {
            EXPECT_TRUE(GameState.inMenu);
            EXPECT_FALSE(IsListed(Wnd().gameOverButton));
        });
        Run(script);
    }
}

// Escape, F4, Tab, Backspace and keys bound to nothing in this state leave every screen
// as it is, and nothing asks to quit; only the window's own close does.
TEST_F(KeyboardPlayTest, NoKeyQuitsOrLeavesAScreen) {
    const auto pressOthers = [] {
        MzTest::ClearTrace();
        // Escape, F4, Tab, Backspace, P, 1: keycode and scan code.
        const int keys[][2] = {{0x1B, 41}, {(1 << 30) | 61, 61}, {9, 43}, {8, 42}, {'p', 19},
                               {'1', 30}};
        for (const auto& key : keys)
            MzTest::KeyPress(key[0], key[1]);
        EXPECT_TRUE(TraceWith({"quit", "sound", "timer-"}).empty());
        EXPECT_FALSE(MessageBoxShown());
    };
    const auto pressHoles = [] {
        for (const HoleKey& key : kHoleKeys)
            MzTest::KeyPress(0, key.scancode);
    };
    std::vector<MzTest::Step> script{pressOthers, pressHoles, [] {
                                         EXPECT_TRUE(GameState.inMenu);
                                         EXPECT_EQ(GameState.hits, 0) << "no mole in the menu";
                                         StartGame();
                                     }};
    script.insert(script.end(), 6, AdvanceToNextMole);
    script.push_back([&] {
        MzTest::Advance(500);
        pressOthers();
        pressHoles();
        EXPECT_EQ(GameState.hits, 0) << "the last mole is out of play";
        EXPECT_TRUE(IsListed(Wnd().gameOverButton));
    });
    Run(script);
}

using PointerTest = MoleTestBase;

// Held ready the mallet's cap is above the hot spot; swung, it lands on it.
TEST_F(PointerTest, TheMalletSwingsOntoItsHotSpotWhileAButtonIsHeld) {
    const int x = MolePaths::kPointerHotX, y = MolePaths::kPointerHotY - 2;
    Run({[&] {
        ASSERT_EQ(MzTest::PointerShown(), "normal");
        EXPECT_EQ(MzTest::PointerPixelAt(x, y) >> 24, 0u) << "nothing over the hot spot";
        MzTest::Press(20, 470); // on the meadow, where nothing takes taps
        ASSERT_EQ(MzTest::PointerShown(), "pressed");
        EXPECT_GT(MzTest::PointerPixelAt(x, y) >> 24, 0xC0u) << "the cap on the hot spot";
        MzTest::Release(20, 470);
        EXPECT_EQ(MzTest::PointerShown(), "normal");
    }});
}

} // namespace
