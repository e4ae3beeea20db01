#include "MzTestFixture.h"

using MzStaticTextTest = MzFixture;

namespace {

// The columns of a row band that hold the text's white fill.
std::pair<int, int> InkSpan(int top, int bottom) {
    int first = -1, last = -1;
    for (int x = 0; x < 720; ++x)
        for (int y = top; y < bottom; ++y)
            if ((MzTest::PixelAt(x, y) & 0xFFFFFF) == 0xFFFFFF) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

} // namespace

// Pictures laid over either end of a wide status line must not hide its text: a
// line that fits is centred, one that does not starts at the left edge.
TEST_F(MzStaticTextTest, FittingTextIsCentredWiderTextStartsAtTheLeft) {
    struct Case {
        const char16_t* text;
        bool centred;
    } cases[] = {
        {u"已打中12次", true},
        {u"已打中12次 - 最高纪录:一个很长很长很长很长很长很长很长很长很长的名字5次", false},
    };
    for (const Case& c : cases) {
        RecordingWnd wnd;
        ASSERT_TRUE(wnd.CreateFull());
        UiStatic line;
        line.SetPos(10, 10, 700, 30);
        line.SetText(c.text);
        wnd.AddUiWin(&line);
        MzTest::RunLoop({[&] {
            auto [first, last] = InkSpan(10, 40);
            ASSERT_GE(first, 10) << "no text drawn";
            if (c.centred) {
                const int middle = (first + last) / 2;
                EXPECT_NEAR(middle, 360, 6) << first << ".." << last;
                EXPECT_GT(first, 150);
            } else {
                EXPECT_LT(first, 20);
            }
        }});
    }
}
