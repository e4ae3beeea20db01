#include "MzTestFixture.h"

#include "screen/MzShapes.h"
#include "screen/MzSurface.h"

namespace {

constexpr uint32_t kPaper = 0xFF102030;

struct Canvas {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 40, 30, 32, SDL_PIXELFORMAT_ARGB8888);
    Canvas() { SDL_FillRect(s, nullptr, kPaper); }
    ~Canvas() { SDL_FreeSurface(s); }
    uint32_t At(int x, int y) const { return static_cast<uint32_t*>(s->pixels)[y * s->w + x]; }
    int Changed() const {
        int n = 0;
        for (int y = 0; y < s->h; ++y)
            for (int x = 0; x < s->w; ++x)
                n += At(x, y) != kPaper;
        return n;
    }
    MzSurface Hdc(RECT clip, int originX = 0, int originY = 0) const {
        return MzSurface{s, originX, originY, clip};
    }
};

TEST(MzShapesTest, PaintsOnlyInsideTheRectangleTheClipAndTheTarget) {
    struct Case {
        RECT rect;
        RECT clip;
        int originX;
        int expectedPixels; // square corners (radius 0): exact counts
    } cases[] = {
        {{-10, -10, 10, 10}, {0, 0, 40, 30}, 0, 100},      // off the top left
        {{30, 20, 90, 90}, {0, 0, 40, 30}, 0, 100},        // off the bottom right
        {{0, 0, 40, 30}, {5, 5, 15, 10}, 0, 50},           // cut by the clip
        {{0, 0, 40, 30}, {-100, -100, 500, 500}, 0, 1200}, // a clip larger than the target
        {{0, 0, 10, 10}, {0, 0, 40, 30}, 35, 50},          // the window's origin moves it
        {{10, 10, 10, 20}, {0, 0, 40, 30}, 0, 0},          // empty
        {{20, 20, 10, 10}, {0, 0, 40, 30}, 0, 0},          // inverted
        {{0, 0, 40, 30}, {10, 10, 10, 10}, 0, 0},          // empty clip
    };
    for (const Case& c : cases) {
        Canvas canvas;
        MzSurface hdc = canvas.Hdc(c.clip, c.originX);
        MzShapes::RoundRect(&hdc, c.rect, 0, 0xFFFFFFFF, 0xFFFFFFFF);
        EXPECT_EQ(canvas.Changed(), c.expectedPixels)
            << c.rect.left << "," << c.rect.top << " " << c.rect.right << "," << c.rect.bottom;
    }
    MzShapes::RoundRect(nullptr, RECT{0, 0, 10, 10}, 4, 0xFFFFFFFF, 0xFFFFFFFF); // no target
}

TEST(MzShapesTest, CornersAreRoundGradientsRunTopToBottomTranslucencyBlends) {
    Canvas canvas;
    MzSurface hdc = canvas.Hdc(RECT{0, 0, 40, 30});
    MzShapes::RoundRect(&hdc, RECT{0, 0, 40, 30}, 10, 0xFFFF0000, 0xFF0000FF);
    EXPECT_EQ(canvas.At(0, 0), kPaper) << "outside the rounded corner";
    EXPECT_EQ(canvas.At(39, 29), kPaper);
    EXPECT_EQ(canvas.At(20, 0), 0xFFFF0000u) << "the top colour at the top";
    EXPECT_EQ(canvas.At(20, 29), 0xFF0000FFu) << "the bottom colour at the bottom";
    const uint32_t edge = canvas.At(1, 4); // on the corner's arc: partly covered
    EXPECT_NE(edge, kPaper);
    EXPECT_NE(edge, canvas.At(20, 4));
    Canvas glass;
    MzSurface hdc2 = glass.Hdc(RECT{0, 0, 40, 30});
    MzShapes::RoundRect(&hdc2, RECT{0, 0, 40, 30}, 0, 0x80FFFFFF, 0x80FFFFFF);
    const uint32_t mixed = glass.At(5, 5);
    EXPECT_EQ(mixed >> 24, 0xFFu) << "the screen stays opaque";
}

// The usual factors show in the sample window's picture; these are the ends and a
// translucent colour, which it never shades.
TEST(MzShapesTest, ShadeDarkensAndLightensKeepingAlpha) {
    struct Case {
        uint32_t colour;
        double factor;
        uint32_t expected;
    } cases[] = {{0xFF804020, 0.0, 0xFF000000},
                 {0xFF804020, 2.0, 0xFFFFFFFF},
                 {0x80FFFFFF, 0.5, 0x80808080}};
    for (const Case& c : cases)
        EXPECT_EQ(MzShapes::Shade(c.colour, c.factor), c.expected)
            << std::hex << c.colour << " " << c.factor;
}

} // namespace
