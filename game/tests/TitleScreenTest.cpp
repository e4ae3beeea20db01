// The title screen after start-up: controls, ids, rectangles, sounds, the USB quit.
#include "MoleTestBase.h"

#include "ce/CePath.h"
#include "ce/CeWindowTable.h"
#include "ce/ce.h"
#include "shell/ShellProtocol.h"

#include <algorithm>
#include <fstream>

#include <tuple>

namespace {

using TitleScreenTest = MoleTestBase;

TEST_F(TitleScreenTest, ControlsHaveTheirIdsAndRectangles) {
    Run({[] {
        CMoleMainWnd& w = Wnd();
        EXPECT_EQ(RectOf(w.bg1Picture), (Rect{0, -60, 720, 288}));
        EXPECT_EQ(RectOf(w.bg2Picture), (Rect{0, 150, 720, 518}));
        EXPECT_EQ(RectOf(w.bg3Picture), (Rect{0, 392, 720, 126}));
        const Rect holes[9] = {{175, 120, 135, 96},  {295, 120, 135, 96},  {415, 120, 135, 96},
                               {115, 195, 167, 120}, {267, 195, 167, 120}, {419, 195, 167, 120},
                               {55, 300, 199, 144},  {239, 300, 199, 144}, {423, 300, 199, 144}};
        for (int k = 0; k < 9; ++k) {
            SCOPED_TRACE(k);
            EXPECT_EQ(RectOf(w.holePictures[k]), holes[k]);
            EXPECT_EQ(RectOf(w.moleButtons[k]), holes[k]);
        }
        for (int k = 0; k < 10; ++k) {
            EXPECT_EQ(w.moleButtons[k].GetID(), 200 + k);
            EXPECT_FALSE(w.moleButtons[k].IsVisible()) << k;
        }
        EXPECT_EQ(RectOf(w.logoPicture), (Rect{192, 56, 400, 100}));
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(w.menuButtons[i].GetID(), 250 + i);
            EXPECT_EQ(RectOf(w.menuButtons[i]), (Rect{310, 225 + 60 * i, 108, 52}));
        }
        EXPECT_EQ(w.soundButton.GetID(), 260);
        EXPECT_EQ(RectOf(w.soundButton), (Rect{670, 0, 50, 50}));
        EXPECT_EQ(w.soundButton.GetState(), 0);
        EXPECT_EQ(w.gameOverButton.GetID(), 261);
        EXPECT_EQ(RectOf(w.gameOverButton), (Rect{125, -112, 460, 112}));
        EXPECT_TRUE(GameState.inMenu);
    }});
}

TEST_F(TitleScreenTest, ControlsAreListedInPaintingOrder) {
    Run({[] {
        CMoleMainWnd& w = Wnd();
        std::vector<UiWin*> expected{&w.bg1Picture, &w.bg2Picture, &w.bg3Picture};
        for (int k = 0; k < 10; ++k) {
            expected.push_back(&w.holePictures[k]);
        }
        for (int k = 0; k < 10; ++k) {
            expected.push_back(&w.moleButtons[k]);
        }
        expected.push_back(&w.soundButton);
        expected.push_back(&w.logoPicture);
        for (UiButton_Image& b : w.menuButtons) {
            expected.push_back(&b);
        }
        EXPECT_EQ(w.Controls(), expected);
    }});
}

TEST_F(TitleScreenTest, StartUpTimersAndShellRequest) {
    Run({[] {
             EXPECT_EQ(TraceWith("timer-set"), std::vector<std::string>{"timer-set 11 500"});
             EXPECT_EQ(TraceWith("send CShellMainWnd").size(), 0u) << "no shell runs";
             EXPECT_EQ(GameState.usbNotifyMsg, 0xFFFFFFFFu) << "no USB function driver";
             EXPECT_TRUE(TraceWith("sound").empty()) << "sound is off in a new settings file";
             MzTest::ClearTrace();
             MzTest::Advance(500);
         },
         [] {
             // The idle tick takes the screen again; no shell, so nothing is sent.
             EXPECT_TRUE(TraceWith("timer-kill").empty());
             EXPECT_EQ(Wnd().GetWidth(), 720);
             EXPECT_EQ(Wnd().GetHeight(), 480);
         }});
}

// Table: whether sound is stored on, and whether lose.wav is installed.
class TitleSoundTest : public MoleTestBase,
                       public ::testing::WithParamInterface<std::tuple<bool, bool>> {};

TEST_P(TitleSoundTest, MusicAndSwitchFollowSettingAndFiles) {
    const auto [soundOn, loseInstalled] = GetParam();
    WriteConfigText(SettingsText(u"A", u"5", soundOn ? u"1" : u"0"));
    if (!loseInstalled) {
        MountAssetsWithout({"sounds/lose.wav"});
    }
    bool tappedSwitch = false;
    Run({[&] {
             const auto sounds = TraceWith("sound");
             if (soundOn) {
                 EXPECT_EQ(sounds, std::vector<std::string>{SoundLine("title.wav")});
             } else {
                 EXPECT_TRUE(sounds.empty());
             }
             EXPECT_EQ(Wnd().soundButton.GetID() == 260, loseInstalled);
             if (loseInstalled) {
                 EXPECT_EQ(Wnd().soundButton.GetState(), soundOn ? 1 : 0);
             }
             MzTest::Tap(695, 25); // where the switch stands
             tappedSwitch = true;
         },
         [&] {
             // Without the switch the tap reaches nothing and the setting stays.
             EXPECT_EQ(GameState.soundOn, loseInstalled ? !soundOn : soundOn);
         }});
    EXPECT_TRUE(tappedSwitch);
}

INSTANTIATE_TEST_SUITE_P(Table, TitleSoundTest,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool()));

struct UsbMessageCase {
    bool registered; // whether the driver was handed the message's number
    WPARAM wParam;
};

class UsbMessageTest : public MoleTestBase, public ::testing::WithParamInterface<UsbMessageCase> {};

// Only the registered message with wParam 0 quits.
TEST_P(UsbMessageTest, QuitsOnlyWithWParamZero) {
    const auto [registered, wParam] = GetParam();
    bool ranAfter = false;
    const int code = Run({[&] {
                              const UINT message =
                                  RegisterWindowMessageW(ShellProtocol::kUsbNotifyMessageName);
                              // Stand in for the USB function driver's registration.
                              if (registered) {
                                  GameState.usbNotifyMsg = message;
                              }
                              MzTest::ClearTrace();
                              SendMessageW(Wnd().m_hWnd, message, wParam, 0);
                          },
                          [&] { ranAfter = true; }});
    EXPECT_EQ(code, 0);
    const auto quits = TraceWith("quit");
    if (registered && wParam == 0) {
        EXPECT_FALSE(ranAfter) << "the quit ends the loop before the next step";
        EXPECT_EQ(quits, std::vector<std::string>{"quit 0"});
    } else {
        EXPECT_TRUE(ranAfter);
    }
}

INSTANTIATE_TEST_SUITE_P(WParams, UsbMessageTest,
                         ::testing::Values(UsbMessageCase{true, 0}, UsbMessageCase{true, 1},
                                           UsbMessageCase{true, 2}, UsbMessageCase{false, 0}));

enum class UsbWhen { Game, AboutBox, NameEntry };

class UsbQuitTest : public MoleTestBase, public ::testing::WithParamInterface<UsbWhen> {};

// The driver posts its message from its own thread: during a game, and while a modal
// window runs its own loop, it ends the program all the same.
TEST_P(UsbQuitTest, PostedMessageEndsTheProgramAnywhere) {
    WriteConfigText(SettingsText(u"Xi", u"0"));
    std::vector<MzTest::Step> script{[] {
        GameState.usbNotifyMsg = RegisterWindowMessageW(ShellProtocol::kUsbNotifyMessageName);
    }};
    switch (GetParam()) {
    case UsbWhen::Game:
        script.push_back([] { TapCentre(Wnd().menuButtons[0]); });
        script.push_back([] { AdvanceToNextMole(); });
        break;
    case UsbWhen::AboutBox:
        script.push_back([] { TapCentre(Wnd().menuButtons[1]); });
        break;
    case UsbWhen::NameEntry:
        script.push_back([] { TapCentre(Wnd().menuButtons[0]); });
        script.push_back([] { AdvanceToNextMole(); });
        script.push_back([] { TapMole(); });
        for (int i = 0; i < 6; ++i) {
            script.push_back([] { AdvanceToNextMole(); });
        }
        break;
    }
    bool ranAfter = false;
    script.push_back([] {
        if (GetParam() != UsbWhen::Game) {
            EXPECT_NE(MzTest::ActiveWindow(), static_cast<CMzWnd*>(&Wnd())) << "a modal window";
        }
        MzTest::ClearTrace();
        PostMessageW(Wnd().m_hWnd, GameState.usbNotifyMsg, 0, 0);
    });
    script.push_back([&] { ranAfter = true; });
    script.push_back([&] { ranAfter = true; });
    EXPECT_EQ(Run(script), 0);
    EXPECT_FALSE(ranAfter);
    EXPECT_EQ(TraceWith("quit"), std::vector<std::string>{"quit 0"});
}

std::string UsbWhenName(const ::testing::TestParamInfo<UsbWhen>& info) {
    return info.param == UsbWhen::Game       ? "Game"
           : info.param == UsbWhen::AboutBox ? "AboutBox"
                                             : "NameEntry";
}

INSTANTIATE_TEST_SUITE_P(States, UsbQuitTest,
                         ::testing::Values(UsbWhen::Game, UsbWhen::AboutBox, UsbWhen::NameEntry),
                         UsbWhenName);

// Without the install folder, or with broken pictures and sounds, the game still starts
// and plays; only what is missing is not shown or heard.
class DamagedInstallTest : public MoleTestBase, public ::testing::WithParamInterface<bool> {};

TEST_P(DamagedInstallTest, GameStartsAndPlays) {
    const bool folderMissing = GetParam();
    if (folderMissing) {
        CePath::ResetForTests(); // nothing mounted: the install folder does not exist
    } else {
        MountAssetsWithout({});
        const std::string copy = Root() + "/assets-copy";
        for (const char* name : {"/images/bg1-0.png", "/images/mole1-0.png", "/sounds/hit.wav"}) {
            std::ofstream(copy + name, std::ios::trunc) << "not a picture or a sound";
        }
    }
    std::vector<MzTest::Step> script{[folderMissing] {
        EXPECT_EQ(Wnd().soundButton.GetID() == 260, !folderMissing);
        EXPECT_EQ(GameState.highScore, 5);
        TapCentre(Wnd().menuButtons[0]);
    }};
    for (int i = 0; i < 6; ++i) {
        script.push_back([] { AdvanceToNextMole(); });
    }
    script.push_back([] {
        EXPECT_EQ(GameState.molesShown, 6);
        EXPECT_TRUE(IsListed(Wnd().gameOverButton));
    });
    Run(script);
}

INSTANTIATE_TEST_SUITE_P(FolderMissingOrFilesBroken, DamagedInstallTest, ::testing::Bool());

// 关于 opens a box over the main window with the game's text and no caption; OK
// closes it and leaves the menu as it was.
TEST_F(TitleScreenTest, AboutCommandShowsTheTextOverTheMainWindowAndCloses) {
    bool closed = false;
    Run({[] { TapCentre(Wnd().menuButtons[1]); },
         [] {
             ASSERT_TRUE(MessageBoxShown());
             auto* box = static_cast<MzMessageBoxWnd*>(MzTest::ActiveWindow());
             EXPECT_TRUE(box->Text() == std::u16string(GameState.aboutText));
             EXPECT_TRUE(box->Caption().empty());
             EXPECT_EQ(CeWindowTable::Instance().Parent(box->m_hWnd), Wnd().m_hWnd);
             // Name in both scripts, the build's version, how to play, the copyright.
             const std::string about = Narrow(GameState.aboutText);
             for (const std::string& part : {std::string("打地鼠 / Burrowbop\n"),
                                             "版本 " + std::string(BURROWBOP_VERSION) + "\n",
                                             std::string("点它"), std::string("© 2026")})
                 EXPECT_NE(about.find(part), std::string::npos) << part;
             EXPECT_EQ(std::count(about.begin(), about.end(), '\n'), 3) << "four lines";
             DismissMessageBox();
         },
         [&] {
             closed = !MessageBoxShown();
             EXPECT_TRUE(GameState.inMenu);
             EXPECT_TRUE(IsListed(Wnd().menuButtons[1]));
         }});
    EXPECT_TRUE(closed);
}

} // namespace
