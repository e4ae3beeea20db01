// The keys of the desktop: in the name entry window Enter stands for "完成" and
// Escape for "取消"; message boxes close with Enter, Space and Escape; the title and
// game screens stay tap-only.
#include "MoleTestBase.h"

#include "ce/ce.h"

namespace {

constexpr int kReturn = '\r'; // SDL key codes of the keys used here
constexpr int kSpace = ' ';
constexpr int kEscape = 0x1B;
constexpr int kF11 = (1 << 30) | 68;

const std::u16string kSettings = SettingsText(u"Xi", u"3");

HWND EntryWindow() {
    return FindWindowW(u"ZellikNameWnd", nullptr);
}

// A game with four hits (one more than the record) up to the tick that ends it.
std::vector<MzTest::Step> RecordGame() {
    std::vector<MzTest::Step> steps{[] { TapCentre(Wnd().menuButtons[0]); }};
    for (int i = 0; i < 4; ++i) {
        steps.push_back([] { AdvanceToNextMole(); });
        steps.push_back([] { TapMole(); });
    }
    for (int i = 0; i < 6; ++i)
        steps.push_back([] { AdvanceToNextMole(); });
    return steps;
}

class KeyboardTest : public MoleTestBase {
protected:
    void SetUp() override {
        MoleTestBase::SetUp();
        WriteConfigText(kSettings);
    }
};

TEST_F(KeyboardTest, NameEntryKeysActLikeItsToolbarButtons) {
    struct Case {
        const char16_t* typed;
        int key;
        bool stored;     // the record is the new name and score
        bool stillOpen;  // the entry window is still there after the key
        bool promptOpen; // the empty-name prompt is up
    } cases[] = {
        {u"小明", kReturn, true, false, false}, {u"小明", kEscape, false, false, false},
        {u"", kReturn, false, true, true},      {u"", kEscape, false, false, false},
        {u"小明", kSpace, false, true, false},
    };
    for (const Case& c : cases) {
        TearDown(); // each case from a fresh start
        SetUp();
        auto steps = RecordGame();
        steps.push_back([&] {
            ASSERT_NE(EntryWindow(), nullptr);
            MzTest::TypeText(c.typed);
            MzTest::KeyPress(c.key);
        });
        steps.push_back([&] {
            EXPECT_EQ(EntryWindow() != nullptr, c.stillOpen) << Narrow(c.typed) << c.key;
            EXPECT_EQ(MessageBoxShown(), c.promptOpen) << Narrow(c.typed) << c.key;
            EXPECT_EQ(GameState.highScore, c.stored ? 4 : 3);
            EXPECT_EQ(std::u16string(GameState.recordHolder), c.stored ? u"小明" : u"Xi");
            if (c.promptOpen)
                MzTest::KeyPress(kSpace); // the prompt closes, the entry stays
        });
        steps.push_back([&] {
            if (c.promptOpen) {
                EXPECT_FALSE(MessageBoxShown());
                EXPECT_NE(EntryWindow(), nullptr);
            }
            PostQuitMessage(0);
        });
        Run(steps);
    }
}

TEST_F(KeyboardTest, TitleAndGameScreensIgnoreKeys) {
    const int keys[] = {kReturn, kSpace, kEscape, kF11, 'a'};
    Run({[&] {
             MzTest::ClearTrace();
             for (int key : keys)
                 MzTest::KeyPress(key);
         },
         [] {
             EXPECT_TRUE(GameState.inMenu);
             EXPECT_FALSE(MessageBoxShown());
             EXPECT_TRUE(TraceWith("sound").empty());
             EXPECT_TRUE(TraceWith("quit").empty());
             TapCentre(Wnd().menuButtons[0]);
         },
         [] { AdvanceToNextMole(); },
         [&] {
             const int shown = GameState.molesShown;
             MzTest::ClearTrace();
             for (int key : keys)
                 MzTest::KeyPress(key);
             EXPECT_FALSE(GameState.inMenu);
             EXPECT_EQ(GameState.molesShown, shown);
             EXPECT_EQ(GameState.hits, 0);
             EXPECT_TRUE(TraceWith("sound").empty());
             EXPECT_TRUE(TraceWith("timer-").empty());
         }});
}

} // namespace
