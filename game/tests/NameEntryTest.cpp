// Game over with the record beaten or not, and the name entry window. On the desktop
// Enter stands for "完成" and Escape for "取消" in it; message boxes close with Enter,
// Space and Escape. The keys of the title and game screens: DesktopPlayTest.
#include "MoleTestBase.h"

#include "ce/CeWindowTable.h"
#include "ce/ce.h"
#include "highscore/CNameEntryWnd.h"

namespace {

const std::u16string kSettings = SettingsText(u"Xi", u"3");

constexpr int kReturn = '\r'; // SDL key codes of the keys used here
constexpr int kSpace = ' ';
constexpr int kEscape = 0x1B;
constexpr int kCancel = -1, kDone = -2; // the toolbar's buttons instead of a key

// Play(hits, 6): the last step is the tick that ends the game.
class NameEntryTest : public MoleTestBase {
protected:
    void SetUp() override {
        MoleTestBase::SetUp();
        WriteConfigText(kSettings);
    }
};

using KeyboardTest = NameEntryTest;

// The toolbar's buttons and the keys, one hit more than the record: the picture has
// slid in before the entry opens, the status line shows the old record meanwhile and
// the new one after it; the idle timer started by the game over is stopped for the
// entry and started again only when a name is stored.
TEST_F(KeyboardTest, NameEntryKeysActLikeItsToolbarButtons) {
    struct Case {
        const char16_t* typed;
        int key;
        bool stored;     // the record is the new name and score
        bool stillOpen;  // the entry window is still there after the key
        bool promptOpen; // the empty-name prompt is up
    } cases[] = {
        {u"  Zoë 🐹", kDone, true, false, false}, {u"Nobody", kCancel, false, false, false},
        {u"", kDone, false, true, true},         {u"小明", kReturn, true, false, false},
        {u"小明", kEscape, false, false, false}, {u"小明", kSpace, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.typed) + " key " + std::to_string(c.key));
        Restart();
        auto steps = Play(4, 6);
        // A work area smaller than the screen, set before the last tick so that the main
        // window itself stays where it is.
        steps.insert(steps.end() - 1, [] {
            MzSetWorkAreaProvider([](RECT* r) {
                *r = RECT{0, 40, 720, 460};
                return true;
            });
        });
        steps.push_back([&] {
            // Inside the tick that ended the game the entry window runs modally and takes
            // the work area's size (where it stands, the toolbar's taps show).
            auto* entry = dynamic_cast<CNameEntryWnd*>(MzTest::ActiveWindow());
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(entry->toolbar.GetPosY(), 352) << "420 high less the toolbar's 68";
            EXPECT_EQ(Wnd().gameOverButton.GetPosY(), 184);
            EXPECT_EQ(StatusLine(), "已打中4次 - 最高纪录:Xi3次");
            const auto idle = TraceWith("timer-");
            ASSERT_GE(idle.size(), 2u);
            EXPECT_EQ(idle[idle.size() - 2], "timer-set 11 500");
            EXPECT_EQ(idle.back(), "timer-kill 11");
            WaitOutGuard();
            MzTest::ClearTrace();
            MzTest::TypeText(c.typed);
            if (c.key < 0) {
                TapEntryButton(c.key == kDone ? 1 : 0);
            } else {
                MzTest::KeyPress(c.key);
            }
        });
        steps.push_back([&] {
            EXPECT_EQ(EntryWindow() != nullptr, c.stillOpen);
            ASSERT_EQ(MessageBoxShown(), c.promptOpen);
            if (c.promptOpen) { // its own modal loop runs this step
                auto* box = static_cast<MzMessageBoxWnd*>(MzTest::ActiveWindow());
                EXPECT_EQ(Narrow(box->Text().c_str()), "请输入您的大名");
                EXPECT_EQ(CeWindowTable::Instance().Parent(box->m_hWnd), EntryWindow());
                MzTest::KeyPress(c.key < 0 ? kReturn : kSpace); // the entry stays
            } else if (!c.stillOpen) {
                EXPECT_EQ(StatusLine(),
                          "已打中4次 - 最高纪录:" + Narrow(c.stored ? c.typed : u"Xi") +
                              (c.stored ? "4次" : "3次"));
                EXPECT_EQ(TraceWith("timer-set"), c.stored
                                                      ? std::vector<std::string>{"timer-set 11 500"}
                                                      : std::vector<std::string>{});
            }
        });
        steps.push_back([&] {
            if (c.promptOpen) {
                EXPECT_FALSE(MessageBoxShown());
                EXPECT_NE(EntryWindow(), nullptr);
            }
            PostQuitMessage(0);
        });
        Run(steps);
        EXPECT_EQ(ReadConfig(), IniBytes(c.stored ? SettingsText(c.typed, u"4") : kSettings));
    }
}

TEST_F(NameEntryTest, HitsEqualToTheRecordOpenNoEntry) {
    auto script = Play(3, 6);
    script.push_back([] {
        EXPECT_EQ(GameState.hits, 3);
        EXPECT_EQ(EntryWindow(), nullptr);
    });
    Run(script);
    EXPECT_EQ(ReadConfig(), IniBytes(kSettings));
}

// The table above has the cancel itself; here what comes after it: back in the menu
// the idle timer stays stopped, tick after tick, until the next game over.
TEST_F(NameEntryTest, CancelKeepsTheRecordAndLeavesTheIdleTimerStopped) {
    auto script = Play(5, 6);
    script.push_back([] {
        WaitOutGuard();
        TapEntryButton(0);
    });
    script.push_back([] {
        WaitOutGuard();
        MzTest::ClearTrace();
        TapCentre(Wnd().gameOverButton);
        MzTest::Advance(2000);
    });
    script.push_back([] {
        EXPECT_TRUE(GameState.inMenu);
        EXPECT_TRUE(TraceWith({"timer-set", "send"}).empty());
        MzTest::ClearTrace();
    });
    Append(script, Play(0, 6));
    script.push_back(
        [] { EXPECT_EQ(TraceWith("timer-set 11"), std::vector<std::string>{"timer-set 11 500"}); });
    Run(script);
}

// A holder's name longer than the text buffer is cut in the status line and the heading.
TEST_F(NameEntryTest, LongHolderNameIsCutInTheHeading) {
    WriteConfigText(SettingsText(std::u16string(3000, u'长'), u"0"));
    auto script = Play(1, 6);
    script.insert(script.begin() + 2, [] {
        EXPECT_EQ(Wnd().statusText.GetText().Length(), GameState.textBuf.Capacity() - 1);
        EXPECT_EQ(StatusLine().rfind("已打中0次 - 最高纪录:长长", 0), 0u);
    });
    script.push_back([] {
        auto* entry = dynamic_cast<CNameEntryWnd*>(MzTest::ActiveWindow());
        ASSERT_NE(entry, nullptr);
        const CMzStringW heading = entry->headingBar.GetText();
        EXPECT_EQ(heading.Length(), GameState.textBuf.Capacity() - 1);
        EXPECT_EQ(Narrow(heading).rfind("恭喜您打破了长长", 0), 0u);
    });
    Run(script);
}

// Only on a file that holds neither key does the order of the two writes show.
TEST_F(NameEntryTest, NameIsWrittenBeforeScore) {
    WriteConfigText(u"[Config]\r\n  isSoundOn=0\r\n[Zellik]\r\n  Version=2");
    auto script = Play(6, 6); // the default record is 5
    script.push_back([] {
        ASSERT_NE(EntryWindow(), nullptr);
        WaitOutGuard();
        MzTest::TypeText(u"Ann");
        TapEntryButton(1);
    });
    Run(script);
    EXPECT_EQ(ReadConfig(), IniBytes(SettingsText(u"Ann", u"6")));
}

} // namespace
