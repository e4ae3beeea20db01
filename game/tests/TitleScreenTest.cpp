// The title screen after start-up: music, the sound switch, the USB quit, the About box.
#include "MoleTestBase.h"

#include "ce/CePath.h"
#include "ce/CeWindowTable.h"
#include "ce/ce.h"
#include "shell/ShellProtocol.h"

#include <fstream>

namespace {

using TitleScreenTest = MoleTestBase;

// The painting order (every hole under every mole), and the rectangles of
// the controls small enough that a shift of a pixel passes the screenshots. Also the
// start-up's only timer.
TEST_F(TitleScreenTest, ControlsPaintInOrderAndSmallOnesHaveTheirRectangles) {
    Run({[] {
        EXPECT_EQ(TraceWith("timer-set"), std::vector<std::string>{"timer-set 11 500"});
        CMoleMainWnd& w = Wnd();
        std::vector<UiWin*> painted{&w.bg1Picture, &w.bg2Picture, &w.bg3Picture};
        for (int k = 0; k < 10; ++k) {
            painted.insert(painted.begin() + 3 + k, &w.holePictures[k]);
            painted.push_back(&w.moleButtons[k]);
        }
        painted.insert(painted.end(), {&w.soundButton, &w.logoPicture});
        painted.insert(painted.end(), {&w.menuButtons[0], &w.menuButtons[1], &w.menuButtons[2]});
        EXPECT_EQ(w.Controls(), painted);
        EXPECT_EQ(RectOf(w.soundButton), (Rect{670, 0, 50, 50}));
    }});
}
// The three menu buttons stand one under the other, 108 x 52 from x = 310, their tops
// at 225, 285 and 345: a tap at each corner inside runs its command, one a pixel off
// runs nothing.
TEST_F(TitleScreenTest, MenuButtonsTakeTapsOnTheirWholeRectangle) {
    enum Command { kNone, kStart, kAbout, kExit };
    const struct {
        int x, y;
        Command command;
    } cases[] = {{310, 225, kStart}, {417, 276, kStart}, {310, 285, kAbout}, {417, 396, kExit},
                 {309, 250, kNone},  {364, 280, kNone},  {364, 397, kNone}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
        Restart();
        Command got = kExit; // unless the check runs: 退出 ends the loop before it
        Run({[&] { MzTest::Tap(c.x, c.y); },
             [&] {
                 got = !GameState.inMenu ? kStart : MessageBoxShown() ? kAbout : kNone;
                 PostQuitMessage(0);
             }});
        EXPECT_EQ(got, c.command);
    }
}

using TitleSoundTest = MoleTestBase;

// Rows: whether sound is stored on, and what the install lacks. Without the install
// folder, or with broken pictures and sounds, the game still starts and plays; only what
// is missing is not shown or heard.
TEST_F(TitleSoundTest, MusicAndSwitchFollowSettingAndFiles) {
    enum Install { Whole, NoLoseSound, BrokenFiles, NoFolder };
    const struct {
        bool soundOn;
        Install install;
    } cases[] = {{false, Whole},      {true, Whole},        {false, NoLoseSound},
                 {true, NoLoseSound}, {false, BrokenFiles}, {false, NoFolder}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "sound " << c.soundOn << " install " << c.install);
        Restart();
        if (c.install == NoFolder) {
            CePath::ResetForTests(); // nothing mounted: the install folder does not exist
        } else if (c.install == BrokenFiles) {
            MountAssetsWithout({});
            for (const char* name : {"images/bg1-0.png", "images/mole1-0.png", "sounds/hit.wav"}) {
                std::ofstream(Root() + "/assets-copy/" + name) << "not a picture or a sound";
            }
        } else {
            WriteConfigText(SettingsText(u"A", u"5", c.soundOn ? u"1" : u"0"));
            if (c.install == NoLoseSound) {
                MountAssetsWithout({"sounds/lose.wav"});
            }
        }
        const bool hasSwitch = c.install == Whole || c.install == BrokenFiles;
        auto script = Play(0, 6);
        script.insert(script.begin(),
                      {[&] {
                           EXPECT_EQ(TraceWith("sound"),
                                     c.soundOn ? std::vector<std::string>{SoundLine("title.wav")}
                                               : std::vector<std::string>{});
                           if (hasSwitch) {
                               EXPECT_EQ(Wnd().soundButton.GetState(), c.soundOn ? 1 : 0);
                           }
                           MzTest::Tap(695, 25); // where the switch stands
                       },
                       // Without the switch the tap reaches nothing and the setting stays.
                       [&] { EXPECT_EQ(GameState.soundOn, hasSwitch ? !c.soundOn : c.soundOn); }});
        bool over = false;
        script.push_back([&] { over = IsListed(Wnd().gameOverButton); });
        Run(script);
        EXPECT_TRUE(over);
    }
}

using UsbMessageTest = MoleTestBase;

// Only the registered message with wParam 0 quits. The driver posts it from its own
// thread: while the name entry runs its own loop it ends the program all the same.
TEST_F(UsbMessageTest, QuitsOnlyWithWParamZero) {
    const struct {
        bool registered; // whether the driver was handed the message's number
        WPARAM wParam;
        bool inEntry;
    } cases[] = {
        {true, 0, false}, {true, 1, false}, {true, 2, false}, {false, 0, false}, {true, 0, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "registered " << c.registered << " wParam " << c.wParam
                                          << " in entry " << c.inEntry);
        Restart();
        WriteConfigText(SettingsText(u"Xi", u"0"));
        std::vector<MzTest::Step> script{[&] {
            if (c.registered) { // stand in for the USB function driver's registration
                GameState.usbNotifyMsg =
                    RegisterWindowMessageW(ShellProtocol::kUsbNotifyMessageName);
            }
        }};
        if (c.inEntry) {
            Append(script, Play(1, 6));
        }
        bool ranAfter = false;
        script.push_back([&] {
            EXPECT_EQ(EntryWindow() != nullptr, c.inEntry);
            PostMessageW(Wnd().m_hWnd, RegisterWindowMessageW(ShellProtocol::kUsbNotifyMessageName),
                         c.wParam, 0);
        });
        script.insert(script.end(), 2, [&] { ranAfter = true; });
        EXPECT_EQ(Run(script), 0);
        EXPECT_EQ(ranAfter, !(c.registered && c.wParam == 0)) << "a quit ends the loop at once";
    }
}

// 关于 opens a box over the main window with the game's text; OK closes it.
TEST_F(TitleScreenTest, AboutCommandShowsTheTextOverTheMainWindowAndCloses) {
    Run({[] { TapCentre(Wnd().menuButtons[1]); },
         [] {
             ASSERT_TRUE(MessageBoxShown());
             auto* box = static_cast<MzMessageBoxWnd*>(MzTest::ActiveWindow());
             EXPECT_EQ(CeWindowTable::Instance().Parent(box->m_hWnd), Wnd().m_hWnd);
             // Name in both scripts, the build's version, how to play, the copyright: a
             // wrong word here passes the screenshot.
             const std::string about = Narrow(GameState.aboutText);
             for (const std::string& piece :
                  {std::string("打地鼠 / Burrowbop\n"),
                   "版本 " + std::string(BURROWBOP_VERSION) + "\n", std::string("点它"),
                   std::string("跑掉五只游戏结束"), std::string("冒着头的那只已先扣了一把锤子"),
                   std::string("Q W E"), std::string("空格或回车"), std::string("© 2026")})
                 EXPECT_NE(about.find(piece), std::string::npos) << piece;
             MzTest::KeyPress('\r'); // OK
         },
         [] { EXPECT_FALSE(MessageBoxShown()); }});
}

} // namespace
