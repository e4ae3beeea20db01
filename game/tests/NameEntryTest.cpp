// Game over with the record beaten or not, and the name entry window.
#include "MoleTestBase.h"

#include "ce/CeWindowTable.h"
#include "ce/ce.h"
#include "highscore/CNameEntryWnd.h"

#include <memory>

namespace {

const std::u16string kSettings = SettingsText(u"Xi", u"3");

CMzStringW EntryHeadingText() {
    auto* entry = dynamic_cast<CNameEntryWnd*>(MzTest::ActiveWindow());
    return entry != nullptr ? entry->headingBar.GetText() : CMzStringW();
}

// Play(hits, 6): the last step is the tick that ends the game.
class NameEntryTest : public MoleTestBase {
protected:
    void SetUp() override {
        MoleTestBase::SetUp();
        WriteConfigText(kSettings);
    }
};

TEST_F(NameEntryTest, HitsEqualToTheRecordOpenNoEntry) {
    auto script = Play(3, 6);
    script.push_back([] {
        EXPECT_EQ(GameState.hits, 3);
        EXPECT_EQ(EntryWindow(), nullptr);
        EXPECT_TRUE(IsListed(Wnd().gameOverButton));
        EXPECT_EQ(TraceWith("timer-set 11").back(), "timer-set 11 500");
    });
    Run(script);
    EXPECT_EQ(ReadConfig(), IniBytes(kSettings));
}

// The picture has slid in before the entry opens; the status line shows the old record
// meanwhile and the new one after it.
TEST_F(NameEntryTest, OneHitMoreStoresTheTypedName) {
    auto script = Play(4, 6);
    script.push_back([] {
        // Inside the tick that ended the game, the entry window runs modally.
        ASSERT_NE(EntryWindow(), nullptr);
        EXPECT_EQ(Wnd().gameOverButton.GetPosY(), 184);
        EXPECT_EQ(StatusLine(), "已打中4次 - 最高纪录:Xi3次");
        // The idle timer started by the game over is stopped again for the entry.
        const auto idle = TraceWith("timer-");
        ASSERT_GE(idle.size(), 2u);
        EXPECT_EQ(idle[idle.size() - 2], "timer-set 11 500");
        EXPECT_EQ(idle.back(), "timer-kill 11");
        EXPECT_EQ(Narrow(EntryHeadingText()), "恭喜您打破了Xi保持的最高纪录，请留下大名");
        MzTest::ClearTrace();
        MzTest::TypeText(u"  Zoë 🐹");
    });
    script.push_back([] { TapEntryButton(1); });
    script.push_back([] {
        EXPECT_EQ(EntryWindow(), nullptr);
        EXPECT_EQ(GameState.highScore, 4);
        EXPECT_EQ(std::u16string(GameState.recordHolder), u"  Zoë 🐹");
        EXPECT_EQ(StatusLine(), "已打中4次 - 最高纪录:  Zoë 🐹4次");
        EXPECT_EQ(TraceWith("timer-set 11"), std::vector<std::string>{"timer-set 11 500"});
    });
    Run(script);
    EXPECT_EQ(ReadConfig(), IniBytes(SettingsText(u"  Zoë 🐹", u"4")));
}

TEST_F(NameEntryTest, CancelKeepsTheRecordAndLeavesTheIdleTimerStopped) {
    auto script = Play(5, 6);
    script.push_back([] {
        ASSERT_NE(EntryWindow(), nullptr);
        MzTest::ClearTrace();
        MzTest::TypeText(u"Nobody");
        TapEntryButton(0);
    });
    script.push_back([] {
        EXPECT_EQ(EntryWindow(), nullptr);
        EXPECT_EQ(GameState.highScore, 3);
        EXPECT_EQ(std::u16string(GameState.recordHolder), u"Xi");
        EXPECT_TRUE(TraceWith("timer-set").empty());
        TapCentre(Wnd().gameOverButton);
    });
    script.push_back([] {
        // Back in the menu with the idle timer still stopped, tick after tick.
        EXPECT_TRUE(GameState.inMenu);
        MzTest::Advance(2000);
    });
    script.push_back([] {
        EXPECT_TRUE(TraceWith({"timer-set", "send"}).empty());
        MzTest::ClearTrace();
    });
    Append(script, Play(0, 6)); // the next game over starts it again
    script.push_back([] {
        EXPECT_EQ(TraceWith("timer-set 11"), std::vector<std::string>{"timer-set 11 500"});
        EXPECT_EQ(TraceWith("timer-kill 11").size(), 7u) << "start and six steps";
    });
    Run(script);
    EXPECT_EQ(ReadConfig(), IniBytes(kSettings));
}

TEST_F(NameEntryTest, EmptyNameIsRefusedWithAPrompt) {
    auto script = Play(4, 6);
    script.push_back([] {
        ASSERT_NE(EntryWindow(), nullptr);
        TapEntryButton(1);
    });
    script.push_back([] {
        // The prompt's own modal loop runs this step.
        ASSERT_TRUE(MessageBoxShown());
        auto* box = static_cast<MzMessageBoxWnd*>(MzTest::ActiveWindow());
        EXPECT_EQ(Narrow(box->Text().c_str()), "请输入您的大名");
        EXPECT_TRUE(box->Caption().empty());
        EXPECT_EQ(CeWindowTable::Instance().Parent(box->m_hWnd), EntryWindow());
        DismissMessageBox();
    });
    script.push_back([] {
        EXPECT_NE(EntryWindow(), nullptr) << "the entry stays open";
        EXPECT_EQ(GameState.highScore, 3);
        TapEntryButton(0);
    });
    Run(script);
    EXPECT_EQ(ReadConfig(), IniBytes(kSettings));
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
        ASSERT_NE(EntryWindow(), nullptr);
        const CMzStringW heading = EntryHeadingText();
        EXPECT_EQ(heading.Length(), GameState.textBuf.Capacity() - 1);
        EXPECT_EQ(Narrow(heading).rfind("恭喜您打破了长长", 0), 0u);
        TapEntryButton(0);
    });
    Run(script);
}

// Over a work area smaller than the screen: the window takes its size, and its three
// controls are placed from it and listed heading, edit, toolbar.
TEST_F(NameEntryTest, ControlsArePlacedFromTheWindowsSizeAndListedInOrder) {
    auto script = Play(4, 6);
    // Before the last tick, so that the main window itself stays where it is.
    script.insert(script.end() - 1, [] {
        MzSetWorkAreaProvider([](RECT* r) {
            *r = RECT{0, 40, 720, 460};
            return true;
        });
    });
    script.push_back([] {
        auto* entry = dynamic_cast<CNameEntryWnd*>(MzTest::ActiveWindow());
        ASSERT_NE(entry, nullptr);
        const int w = entry->GetWidth(), h = entry->GetHeight();
        EXPECT_EQ(w, 720);
        EXPECT_EQ(h, 420);
        EXPECT_EQ(RectOf(entry->headingBar), (Rect{0, 0, w, 42}));
        EXPECT_EQ(RectOf(entry->nameEdit), (Rect{40, 85, w - 80, 68}));
        EXPECT_EQ(RectOf(entry->toolbar), (Rect{0, h - 68, w, 68}));
        EXPECT_EQ(entry->toolbar.GetID(), 351);
        EXPECT_EQ(entry->Controls(),
                  (std::vector<UiWin*>{&entry->headingBar, &entry->nameEdit, &entry->toolbar}));
        TapEntryButton(0);
    });
    Run(script);
}

// Only on a file that holds neither key does the order of the two writes show.
TEST_F(NameEntryTest, NameIsWrittenBeforeScore) {
    WriteConfigText(u"[Config]\r\n  isSoundOn=0\r\n[Zellik]\r\n  Version=2");
    auto script = Play(6, 6); // the default record is 5
    script.push_back([] {
        ASSERT_NE(EntryWindow(), nullptr);
        MzTest::TypeText(u"Ann");
        TapEntryButton(1);
    });
    Run(script);
    EXPECT_EQ(ReadConfig(), IniBytes(SettingsText(u"Ann", u"6")));
}

} // namespace
