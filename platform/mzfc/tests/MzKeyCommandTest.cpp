// The keys a desktop player reaches for, mapped onto the commands that exist: a
// toolbar's accepting and cancelling buttons, the message box's button, full screen.
#include "MzTestFixture.h"

#include "controls/MzKeys.h"
#include "screen/MzScreen.h"

#include <SDL_keycode.h>
#include <SDL_scancode.h>

namespace {

using MzKeyCommandTest = MzFixture;

TEST_F(MzKeyCommandTest, EnterAndEscapePressTheToolbarsAcceptingAndCancellingButtons) {
    const struct {
        std::vector<const char16_t*> labels;
        int key;        // SDL key code
        int disabled;   // index of a disabled button, or -1
        bool composing; // input method text pending in the edit
        int lParam;     // of the bar's command that reaches the window, or -1: none
    } cases[] = {
        {{u"取消", u"完成"}, SDLK_RETURN, -1, false, 1},
        {{u"取消", u"完成"}, SDLK_ESCAPE, -1, false, 0},
        {{u"完成", u"取消"}, SDLK_RETURN, -1, false, 0}, // by label, not by place
        {{u"返回", u"新建", u"确定"}, SDLK_RETURN, -1, false, 2},
        {{u"返回", u"新建", u"确定"}, SDLK_ESCAPE, -1, false, 0},
        {{u"取消", u"完成"}, SDLK_SPACE, -1, false, -1},  // space types into the edit
        {{u"取消", u"完成"}, SDLK_RETURN, 1, false, -1},  // a disabled button stays up
        {{u"新建", u"打开"}, SDLK_RETURN, -1, false, -1}, // no accepting button
        {{u"取消", u"完成"}, SDLK_RETURN, -1, true, -1},  // Enter commits the composition
    };
    for (const auto& c : cases) {
        RecordingWnd wnd(kShown);
        UiSingleLineEdit edit;
        UiToolBarPro bar;
        Put(wnd, edit, 40, 85, 640, 68);
        edit.SetFocus(true);
        for (int i = 0; i < static_cast<int>(c.labels.size()); ++i)
            bar.SetButton(i, i != c.disabled, true, c.labels[i]);
        Put(wnd, bar, 0, 412, 720, 68, 351);
        MzTest::RunLoop({[&] {
            if (c.composing)
                MzScreen::Instance().Composition(u"xiao");
            MzTest::KeyPress(c.key);
        }});
        EXPECT_EQ(wnd.commands, (c.lParam < 0 ? Commands{} : Commands{{351, c.lParam}}))
            << "key " << c.key << " composing " << c.composing;
    }
}

// So does a tap on its OK button (key 0).
TEST_F(MzKeyCommandTest, EnterSpaceAndEscapeCloseAMessageBoxOtherKeysDoNot) {
    const struct {
        int key;
        bool closes;
    } cases[] = {{SDLK_RETURN, true}, {SDLK_KP_ENTER, true},
                 {SDLK_SPACE, true},  {SDLK_ESCAPE, true},
                 {0, true},           {SDLK_LEFT, false}};
    for (const auto& c : cases) {
        RecordingWnd owner(kShown);
        bool stillOpen = false;
        int result = -1;
        MzTest::RunLoop({
            [&] { result = MzMessageBoxEx(owner.m_hWnd, u"请输入您的大名", u"", 0, 0); },
            [&] { // inside the box's modal loop
                auto* box = dynamic_cast<MzMessageBoxWnd*>(MzTest::ActiveWindow());
                ASSERT_NE(box, nullptr);
                const RECT ok = box->OkRect();
                if (c.key)
                    MzTest::KeyPress(c.key);
                else
                    MzTest::Tap((ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2);
            },
            [&] {
                stillOpen = MzTest::ActiveWindow() != &owner;
                if (stillOpen)
                    MzTest::KeyPress(SDLK_RETURN);
            },
        });
        EXPECT_EQ(stillOpen, !c.closes) << "key " << c.key;
        EXPECT_EQ(result, 1) << "the box's one button";
        EXPECT_TRUE(owner.commands.empty()) << "the owner sees no command";
    }
}

TEST_F(MzKeyCommandTest, F11AndAltEnterToggleFullScreen) {
    struct Case {
        int key;
        int modifiers;
        bool toggles;
    } cases[] = {
        {SDLK_F11, KMOD_NONE, true},      {SDLK_F11, KMOD_SHIFT, true},
        {SDLK_RETURN, KMOD_LALT, true},   {SDLK_RETURN, KMOD_RALT, true},
        {SDLK_KP_ENTER, KMOD_LALT, true}, {SDLK_RETURN, KMOD_NONE, false},
        {SDLK_RETURN, KMOD_LCTRL, false}, {SDLK_F4, KMOD_LALT, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MzKeys::TogglesFullScreen(c.key, c.modifiers), c.toggles)
            << "key " << c.key << " modifiers " << c.modifiers;
}

// A bound key taps its control by where the key sits, not by its letter, through the
// same press and release a finger makes; it leaves alone what a finger could not tap.
TEST_F(MzKeyCommandTest, ABoundKeyTapsItsControlByPosition) {
    enum Setup { kPlain, kFirstHidden, kFirstUnlisted, kBothHidden, kTyping };
    const struct {
        const char* what;
        int keycode;
        int scancode;
        bool repeat;
        Setup setup;
        Commands expected;
    } cases[] = {
        {"keypad 7, Num Lock off", SDLK_HOME, SDL_SCANCODE_KP_7, false, kPlain, {{201, 0}}},
        {"Home is not keypad 7", SDLK_HOME, SDL_SCANCODE_HOME, false, kPlain, {}},
        {"the key at Q on a French layout", SDLK_a, SDL_SCANCODE_Q, false, kPlain, {{201, 0}}},
        {"the key at A on a French layout", SDLK_q, SDL_SCANCODE_A, false, kPlain, {}},
        {"Enter", SDLK_RETURN, SDL_SCANCODE_RETURN, false, kPlain, {{203, 0}}},
        {"keypad Enter unbound", SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, false, kPlain, {}},
        {"a held key taps once", SDLK_q, SDL_SCANCODE_Q, true, kPlain, {}},
        {"first hidden", SDLK_q, SDL_SCANCODE_Q, false, kFirstHidden, {{202, 0}}},
        {"first unlisted", SDLK_q, SDL_SCANCODE_Q, false, kFirstUnlisted, {{202, 0}}},
        {"none can take it", SDLK_q, SDL_SCANCODE_Q, false, kBothHidden, {}},
        {"Space to a focused edit", SDLK_SPACE, SDL_SCANCODE_SPACE, false, kTyping, {}},
    };
    for (const auto& c : cases) {
        RecordingWnd wnd(kShown);
        UiButton first, second, enter;
        UiSingleLineEdit edit;
        Put(wnd, first, 0, 0, 100, 100, 201);
        Put(wnd, second, 200, 0, 100, 100, 202);
        Put(wnd, enter, 400, 0, 100, 100, 203);
        wnd.BindKey(MzKeyPosition::kQ, &first);
        wnd.BindKey(MzKeyPosition::kPad7, &first);
        wnd.BindKey(MzKeyPosition::kQ, &second);
        wnd.BindKey(MzKeyPosition::kEnter, &enter);
        wnd.BindKey(MzKeyPosition::kSpace, &enter);
        if (c.setup == kFirstHidden || c.setup == kBothHidden)
            first.SetVisible(false);
        if (c.setup == kBothHidden)
            second.SetVisible(false);
        if (c.setup == kFirstUnlisted)
            wnd.RemoveUiWin(&first);
        if (c.setup == kTyping) {
            Put(wnd, edit, 0, 200, 600, 60);
            edit.SetFocus(true);
        }
        MzTest::RunLoop({[&] { MzTest::KeyPress(c.keycode, c.scancode, c.repeat); }});
        EXPECT_EQ(wnd.commands, c.expected) << c.what;
        EXPECT_FALSE(first.IsPressed() || second.IsPressed()) << c.what << ": released";
    }
}

} // namespace
