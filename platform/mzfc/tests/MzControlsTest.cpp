#include "MzTestFixture.h"

using MzControlsTest = MzFixture;

namespace {
constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kYellow = 0xFFFFFF00;

bool Stretched(UiPicture& p, const WCHAR* file, int x, int y, int w, int h) {
    p.SetPaintMode(1);
    p.SetPos(x, y, w, h);
    return p.LoadImageW(file);
}
} // namespace

TEST_F(MzControlsTest, TapGoesToTheTopmostListedVisibleButton) {
    RecordingWnd wnd(kShown);
    UiButton_Image below, above, hidden, unlisted;
    UiStatic text; // text does not take taps, even on top
    hidden.SetVisible(false);
    Put(wnd, below, 100, 100, 200, 100, 1);
    Put(wnd, above, 150, 120, 100, 50, 2);
    Put(wnd, hidden, 100, 100, 200, 100, 3);
    Put(wnd, text, 0, 0, 720, 480);
    unlisted.SetID(4);
    unlisted.SetPos(0, 0, 720, 480);
    const struct {
        int x, y;
        int expectedId; // 0: no command
    } cases[] = {{110, 110, 1}, {160, 130, 2}, {249, 169, 2}, {250, 170, 1},
                 {299, 199, 1}, {300, 200, 0}, {99, 150, 0},  {5, 5, 0}};
    for (const auto& c : cases) {
        wnd.commands.clear();
        MzTest::RunLoop({[&] { MzTest::Tap(c.x, c.y); }});
        EXPECT_EQ(wnd.commands, (c.expectedId ? Commands{{c.expectedId, 0}} : Commands{}))
            << c.x << "," << c.y;
    }
    EXPECT_EQ(TraceOf("tap").size(), std::size(cases));
    // A tap is a press and a release on the same visible control; a toolbar sends the
    // index of its button.
    UiToolBarPro bar;
    bar.SetButton(0, true, true, u"取消");
    bar.SetButton(1, true, true, u"完成");
    bar.SetButton(2, false, true, u"off");
    bar.SetButton(99, true, true, u"ignored");
    Put(wnd, bar, 0, 412, 720, 68, 351);
    wnd.commands.clear();
    MzTest::RunLoop({[] { MzTest::Press(110, 110); }, [] { MzTest::Release(160, 130); },
                     [] { MzTest::Press(110, 110); }, [&] { below.SetVisible(false); },
                     [] { MzTest::Release(110, 110); }, [] { MzTest::Press(160, 130); },
                     [] { MzTest::Release(170, 140); }, [] { MzTest::Tap(100, 446); },
                     [] { MzTest::Tap(360, 446); }, [] { MzTest::Tap(600, 446); },
                     [] { MzTest::Press(100, 446); }, [] { MzTest::Release(360, 446); }});
    EXPECT_EQ(wnd.commands, (Commands{{2, 0}, {351, 0}, {351, 1}}));
}

// Shows, hides and moves are traced and repainted. A window's death detaches its
// controls, and a control's death its window.
TEST_F(MzControlsTest, ListingIsIdempotentAndUnlistedControlsNeitherPaintNorTap) {
    WriteSolidPng("red.png", 10, 10, kRed);
    WriteSolidPng("green.png", 10, 10, kGreen);
    auto wnd = std::make_unique<RecordingWnd>(kShown);
    UiPicture red, green;
    Stretched(red, u"red.png", 0, 0, 100, 100);
    Stretched(green, u"GREEN.PNG", 50, 50, 100, 100);
    wnd->AddUiWin(&green);
    wnd->AddUiWin(&red);
    wnd->AddUiWin(&green); // listed once: stays below red
    {
        UiButton_Image shortLived;
        wnd->AddUiWin(&shortLived);
    }
    EXPECT_EQ(wnd->Controls().size(), 2u);
    MzTest::RunLoop({[] {}});
    EXPECT_EQ(MzTest::PixelAt(75, 75), kRed);
    wnd->RemoveUiWin(&red);
    wnd->RemoveUiWin(&red); // twice is harmless
    MzTest::RunLoop({[] {}});
    EXPECT_EQ(MzTest::PixelAt(75, 75), kGreen);
    wnd->AddUiWin(&red); // back on top, at the end of the list
    MzTest::RunLoop({[] {}});
    EXPECT_EQ(MzTest::PixelAt(75, 75), kRed);
    UiPicture logo; // shown, hidden and moved
    Stretched(logo, u"red.png", 100, 100, 40, 40);
    wnd->AddUiWin(&logo);
    MzTest::RunLoop({[] {}});
    MzTest::ClearTrace();
    MzTest::RunLoop({[&] {
        for (int i = 0; i < 3; ++i) {
            logo.MoveBy(0, -2);
            logo.Invalidate();
            logo.Update();
        }
        logo.SetVisible(false);
        logo.SetVisible(false);
        logo.SetVisible(true);
    }});
    EXPECT_EQ(MzTest::Trace(), (std::vector<std::string>{
                                   "move 0 100 98", "present", "move 0 100 96", "present",
                                   "move 0 100 94", "present", "hide 0", "show 0", "present"}));
    EXPECT_EQ(MzTest::PixelAt(120, 95), kRed);
    EXPECT_NE(MzTest::PixelAt(120, 136), kRed); // the old place was repainted
    wnd.reset();
    red.Invalidate();
    red.SetVisible(false);
    EXPECT_EQ(red.Owner(), nullptr);
}

// Pictures of one file are shared until the file changes.
TEST_F(MzControlsTest, PaintModeOneStretchesElseTheImageIsCentred) {
    WriteSolidPng("blue.png", 20, 20, kBlue);
    WriteSolidPng("pic.png", 10, 10, kRed);
    RecordingWnd wnd(kShown);
    UiPicture stretched, centred, first, second, later;
    ASSERT_TRUE(Stretched(stretched, u"blue.png", 0, 0, 100, 100));
    ASSERT_TRUE(centred.LoadImageW(u"blue.png"));
    ASSERT_TRUE(Stretched(first, u"pic.png", 0, 200, 50, 50));
    ASSERT_TRUE(Stretched(second, u"PIC.png", 100, 200, 50, 50));
    WriteSolidPng("pic.png", 300, 300, kBlue); // a changed file is read again
    ASSERT_TRUE(Stretched(later, u"pic.png", 200, 200, 50, 50));
    for (UiPicture* p : {&stretched, &first, &second, &later})
        wnd.AddUiWin(p);
    Put(wnd, centred, 200, 0, 100, 100);
    MzTest::RunLoop({[] {}});
    const struct {
        int x, y;
        uint32_t colour;
    } pixels[] = {{2, 2, kBlue},   {97, 97, kBlue},  {250, 50, kBlue},
                  {25, 225, kRed}, {125, 225, kRed}, {225, 225, kBlue}};
    for (const auto& p : pixels)
        EXPECT_EQ(MzTest::PixelAt(p.x, p.y), p.colour) << p.x << "," << p.y;
    EXPECT_NE(MzTest::PixelAt(202, 2), kBlue); // centred: the corner is empty
    EXPECT_FALSE(UiPicture().LoadImageW(u"missing.png"));
    EXPECT_FALSE(UiPicture().LoadImageW(u"..\\..\\etc\\passwd"));
    EXPECT_FALSE(UiPicture().LoadImageW(nullptr));
}

TEST_F(MzControlsTest, ToggleFlipsAtEachTapAndShowsThePressedImageWhileOn) {
    WriteSolidPng("n.png", 10, 10, kGreen);
    WriteSolidPng("p.png", 10, 10, kYellow);
    RecordingWnd wnd(kShown);
    ImagingHelper normal, pressed;
    ASSERT_TRUE(normal.LoadImageW(u"n.png"));
    ASSERT_TRUE(pressed.LoadImageW(u"p.png"));
    UiButton_Image toggle, plain;
    for (UiButton_Image* b : {&toggle, &plain}) {
        b->SetImage_Normal(&normal);
        b->SetImage_Pressed(&pressed);
    }
    toggle.SetButtonMode(1);
    plain.SetPaintMode(1);
    Put(wnd, toggle, 670, 0, 50, 50, 260);
    Put(wnd, plain, 0, 0, 50, 50, 250);
    toggle.SetState(1);
    std::vector<std::pair<int, uint32_t>> seen;
    auto look = [&] { seen.push_back({toggle.GetState(), MzTest::PixelAt(695, 25)}); };
    MzTest::RunLoop({look, [] { MzTest::Tap(695, 25); }, look, [] { MzTest::Tap(695, 25); }, look,
                     [] { MzTest::Press(25, 25); },
                     [&] { EXPECT_EQ(MzTest::PixelAt(25, 25), kYellow); }, // held
                     [] { MzTest::Release(25, 25); },
                     [&] { EXPECT_EQ(MzTest::PixelAt(25, 25), kGreen); }});
    EXPECT_EQ(seen,
              (std::vector<std::pair<int, uint32_t>>{{1, kYellow}, {0, kGreen}, {1, kYellow}}));
    EXPECT_EQ(plain.GetState(), 0);
    EXPECT_EQ(wnd.commands, (Commands{{260, 0}, {260, 0}, {250, 0}}));
}
