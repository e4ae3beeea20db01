// Input against what was on screen when it was made: stamps, guards, the moment a
// command goes, and controls that take no input.
#include "MzTestFixture.h"

#include <SDL.h>

using MzInputTest = MzFixture;

namespace {
constexpr int kButtonId = 5;

// A button at (100, 100, 200, 100) in its own full-screen window.
struct Screen {
    RecordingWnd wnd{kShown};
    UiButton_Image button;
    Screen() { Put(wnd, button, 100, 100, 200, 100, kButtonId); }
};

// A popup over the whole screen with one button, run modally by a test step.
struct Popup : RecordingWnd {
    UiButton_Image button;
    explicit Popup(HWND parent) {
        EXPECT_TRUE(Create(0, 0, 720, 480, parent, 0, WS_POPUP));
        Put(*this, button, 100, 100, 200, 100, kButtonId);
    }
};
} // namespace

// A tap queued as the desktop queues it is read after the step that made something
// appear under it: it reaches what stood there when it was made, and nothing newer.
TEST_F(MzInputTest, InputMadeBeforeSomethingAppearedNeverReachesIt) {
    enum Appears { kNothing, kListed, kShown, kWindow };
    const struct {
        Appears what;
        bool reached;
    } cases[] = {{kNothing, true}, {kListed, false}, {kShown, false}, {kWindow, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Screen s;
        if (c.what == kListed)
            s.wnd.RemoveUiWin(&s.button);
        if (c.what == kShown)
            s.button.SetVisible(false);
        Popup popup(s.wnd.m_hWnd);
        Commands got;
        MzTest::RunLoop({[&] {
                             MzTest::QueueTap(150, 150);
                             switch (c.what) {
                             case kListed:
                                 s.wnd.AddUiWin(&s.button);
                                 break;
                             case kShown:
                                 s.button.SetVisible(true);
                                 break;
                             case kWindow:
                                 popup.DoModal(); // reads the tap in its own loop
                                 break;
                             case kNothing:
                                 break;
                             }
                         },
                         [&] {
                             got = popup.commands;
                             got.insert(got.end(), s.wnd.commands.begin(), s.wnd.commands.end());
                             popup.EndModal(0);
                         }});
        EXPECT_EQ(got, c.reached ? (Commands{{kButtonId, 0}}) : Commands{});
        // What appeared takes the next tap.
        MzTest::RunLoop({[&] { MzTest::QueueTap(150, 150); },
                         [&] {
                             EXPECT_EQ(popup.commands.size() + s.wnd.commands.size(),
                                       c.reached ? 2u : 1u);
                             popup.EndModal(0);
                         }});
    }
}

// A guard counts from now on what is on screen and from the appearance on what is not
// yet; it holds taps and keys alike, and ends to the millisecond.
TEST_F(MzInputTest, GuardHoldsInputUntilItEnds) {
    enum Guarded { kControlOnScreen, kControlListedLater, kWindowShownLater };
    const struct {
        Guarded what;
        DWORD wait; // after the appearance
        bool reached;
    } cases[] = {{kControlOnScreen, 399, false},    {kControlOnScreen, 400, true},
                 {kControlListedLater, 399, false}, {kControlListedLater, 400, true},
                 {kWindowShownLater, 399, false},   {kWindowShownLater, 400, true}};
    for (const auto& c : cases) {
        for (bool key : {false, true}) {
            SCOPED_TRACE(::testing::Message() << c.what << " wait " << c.wait << " key " << key);
            RecordingWnd wnd(kShown);
            Popup popup(wnd.m_hWnd);
            UiToolBarPro bar; // Enter presses its button 1
            bar.SetButton(0, true, true, u"取消");
            bar.SetButton(1, true, true, u"完成");
            CMzWnd& owner = c.what == kWindowShownLater ? static_cast<CMzWnd&>(popup) : wnd;
            bar.SetID(351);
            bar.SetPos(0, 412, 720, 68);
            auto use = [&] {
                MzTest::Advance(c.wait);
                if (key)
                    MzTest::KeyPress(SDLK_RETURN);
                else
                    MzTest::Tap(600, 446);
            };
            Commands got;
            MzTest::RunLoop({[&] {
                                 if (c.what == kControlOnScreen) {
                                     owner.AddUiWin(&bar);
                                     bar.GuardInput(400);
                                 } else if (c.what == kControlListedLater) {
                                     bar.GuardInput(400);
                                     MzTest::Advance(1000); // counts from the listing only
                                     owner.AddUiWin(&bar);
                                 } else {
                                     owner.AddUiWin(&bar);
                                     popup.GuardInput(400);
                                     MzTest::Advance(1000);
                                     popup.DoModal();
                                 }
                             },
                             use,
                             [&] {
                                 got = c.what == kWindowShownLater ? popup.commands : wnd.commands;
                                 popup.EndModal(0);
                             }});
            EXPECT_EQ(got, c.reached ? (Commands{{351, 1}}) : Commands{});
        }
    }
}

// A button that commands at the press does so once, however the press ends; any other
// button commands at the release over it. A disabled button lets taps through to what
// lies below it.
TEST_F(MzInputTest, CommandAtPressOrReleaseAndDisabledButtons) {
    const struct {
        bool onPress;
        bool enabled;
        int releaseX;             // the press is at (150, 150), over both buttons
        Commands afterPress, all; // commands after the press, and after the release
    } cases[] = {
        {false, true, 150, {}, {{kButtonId, 0}}},
        {false, true, 400, {}, {}}, // slid off: cancelled
        {true, true, 150, {{kButtonId, 0}}, {{kButtonId, 0}}},
        {true, true, 400, {{kButtonId, 0}}, {{kButtonId, 0}}},
        {true, false, 150, {}, {{kButtonId + 1, 0}}}, // the button below takes it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "on press " << c.onPress << " enabled " << c.enabled
                                          << " release at " << c.releaseX);
        RecordingWnd wnd(kShown);
        UiButton_Image below, button;
        Put(wnd, below, 100, 100, 200, 100, kButtonId + 1);
        Put(wnd, button, 100, 100, 200, 100, kButtonId);
        button.SetCommandOnPress(c.onPress);
        button.SetEnable(c.enabled);
        MzTest::RunLoop({[] { MzTest::Press(150, 150); },
                         [&] {
                             EXPECT_EQ(wnd.commands, c.afterPress);
                             EXPECT_EQ(button.IsPressed(), c.enabled);
                             MzTest::Release(c.releaseX, 150);
                         }});
        EXPECT_EQ(wnd.commands, c.all);
    }
}
