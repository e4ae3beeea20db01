#include "MzTestFixture.h"

#include "screen/MzScreen.h"

#include <SDL_keycode.h>

using MzEditTest = MzFixture;

namespace {

struct EditWnd : RecordingWnd {
    UiSingleLineEdit edit;
    EditWnd() : RecordingWnd(kShown) {
        edit.EnableCenterDisplay(true);
        Put(*this, edit, 40, 85, 640, 68);
        edit.SetFocus(true);
    }
};

} // namespace

TEST_F(MzEditTest, TypedTextNeverHoldsControlCharacters) {
    const struct {
        std::u16string typed;
        std::u16string expected;
    } cases[] = {
        {u"小儿子", u"小儿子"},
        {u"a\nb\r\tc", u"abc"},
        {std::u16string(u"x\0y", 3), u"xy"},
        {u"\x1b\x7f\x85\x9fok", u"ok"},
        {u"line\u2028sep\u2029", u"linesep"},
        {u"😀", u"😀"},
        {u"ab\bc", u"ac"}, // backspace as a character still edits
    };
    for (const auto& c : cases) {
        EditWnd wnd;
        MzTest::RunLoop({[&] {
            for (char16_t ch : c.typed)
                MzTest::TypeText(std::u16string(1, ch).c_str());
        }});
        if (c.typed.find(u'\0') != std::u16string::npos) // TypeText stops at a zero
            wnd.edit.OnChar(0);
        EXPECT_EQ(Str(wnd.edit.GetText()), c.expected);
    }
}

// Then a tap moves the focus, and keys go only to the focused edit of the top window. The
// clipboard's text and the input method's reach the focused control through the screen;
// a composition is shown but stays out of the text.
TEST_F(MzEditTest, CursorKeysBackspaceAndDeleteWorkOnWholeCharacters) {
    EditWnd wnd;
    UiSingleLineEdit other;
    Put(wnd, other, 40, 200, 640, 68);
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
                     },
                     [&] { MzTest::Tap(100, 220); }, [] { MzTest::TypeText(u"two"); },
                     [] { // PasteFlattensLinesAndSetTextFilters
                         MzScreen::Instance().Paste(u"first\r\nsecond\tthird\x01");
                         MzScreen::Instance().Composition(u"da");
                     }});
    EXPECT_EQ(Str(wnd.edit.GetText()), u"ab>");
    EXPECT_EQ(Str(other.GetText()), u"twofirst  second third");
    EXPECT_EQ(other.Composition(), u"da");
    EXPECT_FALSE(wnd.edit.HasFocus());
    EXPECT_TRUE(wnd.commands.empty()); // a tap on an edit is not a command
    wnd.edit.SetText(u"new\nname");
    EXPECT_EQ(Str(wnd.edit.GetText()), u"newname");
    wnd.edit.SetText(nullptr);
    EXPECT_TRUE(wnd.edit.GetText().IsEmpty());
    wnd.edit.Paste(std::u16string(5000, u'x'));
    EXPECT_EQ(Str(wnd.edit.GetText()).size(), UiSingleLineEdit::kMaxLength);
}
