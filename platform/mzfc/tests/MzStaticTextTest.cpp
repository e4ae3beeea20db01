#include "MzTestFixture.h"
#include "screen/MzFont.h"
#include "screen/MzPaint.h"

#include <algorithm>

using MzStaticTextTest = MzFixture;

namespace {

std::vector<uint32_t> Screen() {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 720; ++x)
            pixels.push_back(MzTest::PixelAt(x, y));
    return pixels;
}

} // namespace

// What a line becomes in a width: kept, drawn smaller, or elided in its middle.
TEST_F(MzStaticTextTest, FitLineShrinksThenElidesInTheMiddle) {
    if (!MzFont::Available())
        GTEST_SKIP() << "no font";
    const MzTextStyle style{.pixelSize = 30, .outline = 0xFF000000, .bold = true};
    const std::u16string text = u"已打中12次 - 最高纪录:ABCDEFGHIJKLMNOPQRSTUVWXYZ 5次";
    const std::u16string emoji = u"前😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀后";
    const int full = MzPaint::TextWidth(text, style);
    const struct {
        const char* name;
        std::u16string line;
        int width;
        bool elided;
        int size; // the pixel size, or 0: smaller than 30
    } cases[] = {
        {"roomy", text, full + 40, false, 30},    {"eightyPercent", text, full * 8 / 10, false, 0},
        {"half", text, full / 2, true, 21},       {"tiny", text, 60, true, 21},
        {"surrogatePairs", emoji, 160, true, 21},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MzFittedLine f = MzPaint::FitLine(c.line, c.width, style);
        MzTextStyle at = style;
        at.pixelSize = f.pixelSize;
        EXPECT_LE(MzPaint::TextWidth(f.text, at) + 2 * std::max(1, f.pixelSize / 14), c.width);
        EXPECT_TRUE(c.size ? f.pixelSize == c.size : f.pixelSize < 30) << f.pixelSize;
        const size_t dots = f.text.find(u'…');
        if (!c.elided) {
            EXPECT_TRUE(f.text == c.line);
            continue;
        }
        ASSERT_NE(dots, std::u16string::npos);
        const std::u16string head = f.text.substr(0, dots), tail = f.text.substr(dots + 1);
        EXPECT_TRUE(c.line.compare(0, head.size(), head) == 0);
        EXPECT_TRUE(c.line.compare(c.line.size() - tail.size(), tail.size(), tail) == 0);
        EXPECT_LE(tail.size(), head.size());
        EXPECT_FALSE(!head.empty() && head.back() >= 0xD800 && head.back() <= 0xDBFF)
            << "split pair";
        EXPECT_FALSE(c.width >= 160 && (head.empty() || tail.empty()));
    }
}

// Every control draws its text through the one routine.
TEST_F(MzStaticTextTest, LongTextNeverPaintsOutsideItsControl) {
    const std::u16string longText =
        u"恭喜您打破了" + std::u16string(60, u'名') + u"保持的最高纪录，请留下大名";
    UiHeadingBar heading;
    UiToolBarPro bar;
    bar.SetButton(0, true, true, longText.c_str());
    bar.SetButton(1, true, true, u"完成");
    const struct {
        const char* name;
        UiWin* control;
        RECT rect;
        std::u16string text;
    } cases[] = {
        {"heading", &heading, {60, 100, 660, 142}, longText},
        {"toolbar", &bar, {0, 300, 720, 368}, longText},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingWnd wnd(kShown);
        c.control->SetText(c.text.c_str());
        c.control->SetPos(c.rect.left, c.rect.top, c.rect.right - c.rect.left,
                          c.rect.bottom - c.rect.top);
        std::vector<uint32_t> before;
        MzTest::RunLoop({[&] { before = Screen(); },
                         [&] {
                             wnd.AddUiWin(c.control);
                             c.control->Invalidate();
                         },
                         [&] {
                             const std::vector<uint32_t> after = Screen();
                             int inside = 0, outside = 0;
                             for (size_t i = 0; i < after.size(); ++i) {
                                 const LONG x = i % 720, y = i / 720;
                                 const bool in = x >= c.rect.left && x < c.rect.right &&
                                                 y >= c.rect.top && y < c.rect.bottom;
                                 (in ? inside : outside) += before[i] != after[i];
                             }
                             EXPECT_GT(inside, 0);
                             EXPECT_EQ(outside, 0);
                         }});
    }
}
