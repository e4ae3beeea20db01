// The keys a desktop player reaches for, mapped onto the commands that exist: a
// toolbar's accepting and cancelling buttons, the message box's button, full screen.
#include "MzTestFixture.h"

#include "controls/MzKeys.h"
#include "screen/MzScreen.h"

#include <SDL_keycode.h>

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

} // namespace
