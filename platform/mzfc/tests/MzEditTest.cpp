#include "MzTestFixture.h"

#include "screen/MzScreen.h"

#include <SDL_keycode.h>

using MzEditTest = MzFixture;

namespace {

struct EditWnd : RecordingWnd {
    UiSingleLineEdit edit;
    bool Build() {
        if (!CreateFull())
            return false;
        edit.SetPos(40, 85, 640, 68);
        edit.EnableCenterDisplay(true);
        AddUiWin(&edit);
        edit.SetFocus(true);
        return true;
    }
};

std::u16string TextOf(UiWin& w) {
    return std::u16string(static_cast<const WCHAR*>(w.GetText()));
}

} // namespace

TEST_F(MzEditTest, TypedTextNeverHoldsControlCharacters) {
    struct Case {
        std::u16string typed;
        std::u16string expected;
    } cases[] = {
        {u"abc", u"abc"},
        {u"小儿子", u"小儿子"},
        {u"a\nb\r\tc", u"abc"},
        {std::u16string(u"x\0y", 3), u"xy"},
        {u"\x1b\x7f\x85\x9fok", u"ok"},
        {u"line\u2028sep\u2029", u"linesep"},
        {u"   ", u"   "},
        {u"😀", u"😀"},
        {u"ab\bc", u"ac"}, // backspace as a character still edits
    };
    for (const Case& c : cases) {
        EditWnd wnd;
        ASSERT_TRUE(wnd.Build());
        MzTest::RunLoop({[&] {
            for (char16_t ch : c.typed)
                MzTest::TypeText(std::u16string(1, ch).c_str());
        }});
        if (c.typed.find(u'\0') != std::u16string::npos) // TypeText stops at a zero
            wnd.edit.OnChar(0);
        EXPECT_EQ(TextOf(wnd.edit), c.expected);
    }
}

TEST_F(MzEditTest, CursorKeysBackspaceAndDeleteWorkOnWholeCharacters) {
    EditWnd wnd;
    ASSERT_TRUE(wnd.Build());
    MzTest::RunLoop({[] { MzTest::TypeText(u"a😀b"); },
                     [] {
                         MzTest::KeyPress(SDLK_LEFT);      // before b
                         MzTest::KeyPress(SDLK_BACKSPACE); // removes the whole emoji
                     },
                     [] {
                         MzTest::KeyPress(SDLK_HOME);
                         MzTest::TypeText(u"<");
                         MzTest::KeyPress(SDLK_END);
                         MzTest::TypeText(u">");
                         MzTest::KeyPress(SDLK_HOME);
                         MzTest::KeyPress(SDLK_DELETE);
                         MzTest::KeyPress(SDLK_LEFT); // at the start already
                     }});
    EXPECT_EQ(TextOf(wnd.edit), u"ab>");
}

TEST_F(MzEditTest, PasteFlattensLinesAndSetTextFilters) {
    EditWnd wnd;
    ASSERT_TRUE(wnd.Build());
    // The clipboard's text reaches the focused control through the screen.
    MzTest::RunLoop({[] { MzScreen::Instance().Paste(u"first\r\nsecond\tthird\x01"); }});
    EXPECT_EQ(TextOf(wnd.edit), u"first  second third");
    wnd.edit.SetText(u"new\nname");
    EXPECT_EQ(TextOf(wnd.edit), u"newname");
    wnd.edit.SetText(nullptr);
    EXPECT_TRUE(wnd.edit.GetText().IsEmpty());
    std::u16string huge(5000, u'x');
    wnd.edit.Paste(huge);
    EXPECT_EQ(TextOf(wnd.edit).size(), UiSingleLineEdit::kMaxLength);
}

TEST_F(MzEditTest, CompositionIsShownButNotPartOfTheText) {
    EditWnd wnd;
    ASSERT_TRUE(wnd.Build());
    MzTest::RunLoop({[&] {
        MzTest::TypeText(u"x");
        MzScreen::Instance().Composition(u"da");
    }});
    EXPECT_EQ(TextOf(wnd.edit), u"x");
    EXPECT_EQ(wnd.edit.Composition(), u"da");
}

TEST_F(MzEditTest, KeysGoOnlyToTheFocusedEditOfTheTopWindow) {
    EditWnd wnd;
    ASSERT_TRUE(wnd.Build());
    UiSingleLineEdit other;
    other.SetPos(40, 200, 640, 68);
    wnd.AddUiWin(&other);
    MzTest::RunLoop({[] { MzTest::TypeText(u"one"); }, [&] { MzTest::Tap(100, 220); },
                     [] { MzTest::TypeText(u"two"); }});
    EXPECT_EQ(TextOf(wnd.edit), u"one");
    EXPECT_EQ(TextOf(other), u"two");
    EXPECT_FALSE(wnd.edit.HasFocus());
    EXPECT_TRUE(wnd.commands.empty()); // a tap on an edit is not a command
}
