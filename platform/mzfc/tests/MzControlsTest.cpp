#include "MzTestFixture.h"

using MzControlsTest = MzFixture;

namespace {
constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kYellow = 0xFFFFFF00;
}

TEST_F(MzControlsTest, TapGoesToTheTopmostListedVisibleButton) {
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateFull());
    UiButton_Image below, above, hidden, unlisted;
    below.SetID(1);
    below.SetPos(100, 100, 200, 100);
    above.SetID(2);
    above.SetPos(150, 120, 100, 50);
    hidden.SetID(3);
    hidden.SetPos(100, 100, 200, 100);
    hidden.SetVisible(false);
    unlisted.SetID(4);
    unlisted.SetPos(0, 0, 720, 480);
    UiStatic text; // text does not take taps, even on top
    text.SetPos(0, 0, 720, 480);
    wnd.AddUiWin(&below);
    wnd.AddUiWin(&above);
    wnd.AddUiWin(&hidden);
    wnd.AddUiWin(&text);
    struct Case {
        int x, y;
        int expectedId; // 0: no command
    } cases[] = {
        {110, 110, 1}, {160, 130, 2}, {249, 169, 2}, {250, 170, 1},
        {299, 199, 1}, {300, 200, 0}, {99, 150, 0},  {5, 5, 0},
    };
    for (const Case& c : cases) {
        wnd.commands.clear();
        MzTest::RunLoop({[&] { MzTest::Tap(c.x, c.y); }});
        if (c.expectedId)
            EXPECT_EQ(wnd.commands, (std::vector<std::pair<int, int>>{{c.expectedId, 0}}))
                << c.x << "," << c.y;
        else
            EXPECT_TRUE(wnd.commands.empty()) << c.x << "," << c.y;
    }
    EXPECT_EQ(TraceOf("tap").size(), std::size(cases));
}

TEST_F(MzControlsTest, ATapIsPressAndReleaseOnTheSameControl) {
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateFull());
    UiButton_Image a, b;
    a.SetID(1);
    a.SetPos(0, 0, 100, 100);
    b.SetID(2);
    b.SetPos(200, 0, 100, 100);
    wnd.AddUiWin(&a);
    wnd.AddUiWin(&b);
    MzTest::RunLoop({[] { MzTest::Press(50, 50); }, [] { MzTest::Release(250, 50); },
                     [] { MzTest::Press(50, 50); }, [&] { a.SetVisible(false); },
                     [] { MzTest::Release(50, 50); }, [] { MzTest::Press(250, 50); },
                     [] { MzTest::Release(260, 60); }});
    EXPECT_EQ(wnd.commands, (std::vector<std::pair<int, int>>{{2, 0}}));
}

TEST_F(MzControlsTest, ListingIsIdempotentAndUnlistedControlsNeitherPaintNorTap) {
    WriteSolidPng("red.png", 10, 10, kRed);
    WriteSolidPng("green.png", 10, 10, kGreen);
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateFull());
    UiPicture red, green;
    red.LoadImageW(u"red.png");
    red.SetPaintMode(1);
    red.SetPos(0, 0, 100, 100);
    green.LoadImageW(u"GREEN.PNG");
    green.SetPaintMode(1);
    green.SetPos(50, 50, 100, 100);
    wnd.AddUiWin(&green);
    wnd.AddUiWin(&red);
    wnd.AddUiWin(&green); // listed once: stays below red
    EXPECT_EQ(wnd.Controls().size(), 2u);
    MzTest::RunLoop({[] {}});
    EXPECT_EQ(MzTest::PixelAt(75, 75), kRed); // red was listed last
    EXPECT_EQ(MzTest::PixelAt(120, 120), kGreen);
    wnd.RemoveUiWin(&red);
    wnd.RemoveUiWin(&red); // twice is harmless
    MzTest::RunLoop({[] {}});
    EXPECT_EQ(MzTest::PixelAt(75, 75), kGreen);
    EXPECT_NE(MzTest::PixelAt(20, 20), kRed);
    wnd.AddUiWin(&red); // back on top, at the end of the list
    MzTest::RunLoop({[] {}});
    EXPECT_EQ(MzTest::PixelAt(75, 75), kRed);
}

TEST_F(MzControlsTest, PaintModeOneStretchesElseTheImageIsCentred) {
    WriteSolidPng("blue.png", 20, 20, kBlue);
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateFull());
    UiPicture stretched, centred;
    stretched.LoadImageW(u"blue.png");
    stretched.SetPaintMode(1);
    stretched.SetPos(0, 0, 100, 100);
    centred.LoadImageW(u"blue.png");
    centred.SetPos(200, 0, 100, 100);
    wnd.AddUiWin(&stretched);
    wnd.AddUiWin(&centred);
    MzTest::RunLoop({[] {}});
    EXPECT_EQ(MzTest::PixelAt(2, 2), kBlue);
    EXPECT_EQ(MzTest::PixelAt(97, 97), kBlue);
    EXPECT_NE(MzTest::PixelAt(202, 2), kBlue);
    EXPECT_EQ(MzTest::PixelAt(250, 50), kBlue);
    EXPECT_FALSE(UiPicture().LoadImageW(u"missing.png"));
    EXPECT_FALSE(UiPicture().LoadImageW(u"..\\..\\etc\\passwd"));
    EXPECT_FALSE(UiPicture().LoadImageW(nullptr));
}

TEST_F(MzControlsTest, ToggleFlipsAtEachTapAndShowsThePressedImageWhileOn) {
    WriteSolidPng("n.png", 10, 10, kGreen);
    WriteSolidPng("p.png", 10, 10, kYellow);
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateFull());
    ImagingHelper normal, pressed;
    ASSERT_TRUE(normal.LoadImageW(u"n.png"));
    ASSERT_TRUE(pressed.LoadImageW(u"p.png"));
    UiButton_Image toggle, plain;
    toggle.SetID(260);
    toggle.SetPos(670, 0, 50, 50);
    toggle.SetImage_Normal(&normal);
    toggle.SetImage_Pressed(&pressed);
    toggle.SetButtonMode(1);
    plain.SetID(250);
    plain.SetPos(0, 0, 50, 50);
    plain.SetImage_Normal(&normal);
    plain.SetImage_Pressed(&pressed);
    plain.SetPaintMode(1);
    wnd.AddUiWin(&toggle);
    wnd.AddUiWin(&plain);
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
    EXPECT_EQ(wnd.commands, (std::vector<std::pair<int, int>>{{260, 0}, {260, 0}, {250, 0}}));
}

TEST_F(MzControlsTest, ToolbarSendsTheButtonIndex) {
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateFull());
    UiToolBarPro bar;
    bar.SetID(351);
    bar.SetPos(0, 412, 720, 68);
    bar.SetButton(0, true, true, u"取消");
    bar.SetButton(1, true, true, u"完成");
    bar.SetButton(2, false, true, u"off");
    bar.SetButton(99, true, true, u"ignored");
    wnd.AddUiWin(&bar);
    MzTest::RunLoop({[] { MzTest::Tap(100, 446); }, [] { MzTest::Tap(360, 446); },
                     [] { MzTest::Tap(600, 446); }, [] { MzTest::Press(100, 446); },
                     [] { MzTest::Release(360, 446); }});
    EXPECT_EQ(wnd.commands, (std::vector<std::pair<int, int>>{{351, 0}, {351, 1}}));
}

TEST_F(MzControlsTest, ShowHideAndMovesAreTracedAndRepainted) {
    WriteSolidPng("red.png", 10, 10, kRed);
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateFull());
    UiPicture logo;
    logo.SetPaintMode(1);
    logo.LoadImageW(u"red.png");
    logo.SetPos(100, 100, 40, 40);
    wnd.AddUiWin(&logo);
    MzTest::RunLoop({[] {}}); // paints the window once
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
}

TEST_F(MzControlsTest, ControlsOfADestroyedWindowAndWindowsOfDestroyedControlsAreSafe) {
    auto* wnd = new RecordingWnd;
    ASSERT_TRUE(wnd->CreateFull());
    UiButton_Image survivor;
    wnd->AddUiWin(&survivor);
    {
        UiButton_Image shortLived;
        wnd->AddUiWin(&shortLived);
    }
    EXPECT_EQ(wnd->Controls().size(), 1u);
    delete wnd;
    survivor.Invalidate();
    survivor.SetVisible(false);
    EXPECT_EQ(survivor.Owner(), nullptr);
}

TEST_F(MzControlsTest, PicturesOfOneFileAreSharedUntilTheFileChanges) {
    WriteSolidPng("pic.png", 10, 10, kRed);
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateFull());
    UiPicture first, second, later;
    for (UiPicture* p : {&first, &second, &later}) {
        p->SetPaintMode(1);
        wnd.AddUiWin(p);
    }
    first.SetPos(0, 0, 50, 50);
    second.SetPos(100, 0, 50, 50);
    later.SetPos(200, 0, 50, 50);
    ASSERT_TRUE(first.LoadImageW(u"pic.png"));
    ASSERT_TRUE(second.LoadImageW(u"PIC.png"));
    WriteSolidPng("pic.png", 300, 300, kBlue); // a changed file is read again
    ASSERT_TRUE(later.LoadImageW(u"pic.png"));
    MzTest::RunLoop({[] {}});
    EXPECT_EQ(MzTest::PixelAt(25, 25), kRed);
    EXPECT_EQ(MzTest::PixelAt(125, 25), kRed);
    EXPECT_EQ(MzTest::PixelAt(225, 25), kBlue);
}
