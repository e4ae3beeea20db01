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

using KeyboardTest = MoleTestBase;

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
        SCOPED_TRACE(Narrow(c.typed) + " key " + std::to_string(c.key));
        Restart();
        WriteConfigText(SettingsText(u"Xi", u"3"));
        auto steps = Play(4, 6); // one hit more than the record
        steps.push_back([&] {
            ASSERT_NE(EntryWindow(), nullptr);
            MzTest::TypeText(c.typed);
            MzTest::KeyPress(c.key);
        });
        steps.push_back([&] {
            EXPECT_EQ(EntryWindow() != nullptr, c.stillOpen);
            EXPECT_EQ(MessageBoxShown(), c.promptOpen);
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
    const auto pressAll = [] {
        MzTest::ClearTrace();
        for (int key : {kReturn, kSpace, kEscape, kF11, int('a')})
            MzTest::KeyPress(key);
    };
    Run({pressAll,
         [] {
             EXPECT_TRUE(GameState.inMenu);
             EXPECT_FALSE(MessageBoxShown());
             EXPECT_TRUE(TraceWith({"sound", "quit"}).empty());
             StartGame();
         },
         AdvanceToNextMole,
         [&] {
             const int shown = GameState.molesShown;
             pressAll();
             EXPECT_FALSE(GameState.inMenu);
             EXPECT_EQ(GameState.molesShown, shown);
             EXPECT_EQ(GameState.hits, 0);
             EXPECT_TRUE(TraceWith({"sound", "timer-"}).empty());
         }});
}

} // namespace
