// The sample window against the reference picture kept in tests/data. Font
// rendering may differ a little between machines, so the comparison allows small
// differences. To make a new reference: MZFC_UPDATE_REFERENCE=1 ./mzfc_tests
// --gtest_filter=MzScreenshotTest.*, then look at the picture before committing.
#include "MzSampleWnd.h"
#include "MzTestFixture.h"

#include <cmath>

using MzScreenshotTest = MzFixture;

TEST_F(MzScreenshotTest, SampleWindowLooksLikeTheReference) {
    ASSERT_TRUE(MzSampleWnd::WriteAssets());
    MzSampleWnd wnd;
    ASSERT_TRUE(wnd.Create(0, 0, 720, 480));
    wnd.Show();
    const std::string shot = root_ + "/shot.png";
    const std::string reference = std::string(MZFC_TEST_DATA) + "/sample.png";
    MzTest::RunLoop({[&] { ASSERT_TRUE(MzTest::SaveScreenPng(shot.c_str())); }});
    if (std::getenv("MZFC_UPDATE_REFERENCE")) {
        ASSERT_TRUE(MzTest::SaveScreenPng(reference.c_str()));
    }

    SDL_Surface* a = IMG_Load(shot.c_str());
    SDL_Surface* b = IMG_Load(reference.c_str());
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr) << reference;
    SDL_Surface* ca = SDL_ConvertSurfaceFormat(a, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_Surface* cb = SDL_ConvertSurfaceFormat(b, SDL_PIXELFORMAT_ARGB8888, 0);
    ASSERT_EQ(ca->w, cb->w);
    ASSERT_EQ(ca->h, cb->h);
    long differing = 0;
    double total = 0;
    for (int y = 0; y < ca->h; ++y)
        for (int x = 0; x < ca->w; ++x) {
            uint32_t pa = static_cast<uint32_t*>(ca->pixels)[y * ca->pitch / 4 + x];
            uint32_t pb = static_cast<uint32_t*>(cb->pixels)[y * cb->pitch / 4 + x];
            int d = 0;
            for (int shift = 0; shift < 24; shift += 8)
                d = std::max(d, std::abs(static_cast<int>((pa >> shift) & 0xFF) -
                                         static_cast<int>((pb >> shift) & 0xFF)));
            total += d;
            if (d > 64)
                ++differing;
        }
    const double pixels = static_cast<double>(ca->w) * ca->h;
    EXPECT_LT(differing / pixels, 0.01) << "pixels that differ clearly";
    EXPECT_LT(total / pixels, 3.0) << "mean difference per pixel";
    for (SDL_Surface* s : {a, b, ca, cb})
        SDL_FreeSurface(s);

    // The picture shows what the window holds: the sky at the top left, the toolbar
    // at the bottom, the ball on the right.
    // The toolbar's plank is warm wood: much more red than blue.
    const uint32_t plank = MzTest::PixelAt(716, 477);
    EXPECT_GT(((plank >> 16) & 0xFF), (plank & 0xFF) + 0x30);
    EXPECT_GT((MzTest::PixelAt(580, 210) >> 16) & 0xFF, 0xC0u);
}
