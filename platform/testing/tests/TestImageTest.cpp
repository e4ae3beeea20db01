// Pictures for screenshot tests: loading, and which differences count.
#include "testing/TestImage.h"

#include <gtest/gtest.h>

namespace {

TestImage Filled(int width, int height, uint8_t value) {
    TestImage image;
    image.width = width;
    image.height = height;
    image.rgba.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, value);
    return image;
}

TEST(TestImage, LoadsPixelsAndRefusesWhatIsNoPicture) {
    TestImage image;
    ASSERT_TRUE(image.Load(CE_TESTING_PICTURE));
    EXPECT_EQ(image.rgba.size(), static_cast<size_t>(image.width * image.height * 4));
    EXPECT_EQ(TestImage::DifferingShare(image, image, 0), 0.0);
    TestImage missing;
    EXPECT_FALSE(missing.Load(__FILE__)) << "a text file";
}

TEST(TestImage, DifferingShareCountsPixelsBeyondTheTolerance) {
    const TestImage base = Filled(2, 2, 100);
    auto changed = [&](size_t byte, uint8_t value) {
        TestImage other = base;
        other.rgba[byte] = value;
        return other;
    };
    struct Case {
        const char* name;
        TestImage other;
        int tolerance;
        double share;
    } cases[] = {
        {"withinTolerance", changed(0, 124), 24, 0.0},
        {"beyondTolerance", changed(0, 125), 24, 0.25},
        {"belowToo", changed(6, 75), 24, 0.25},
        {"alphaIgnored", changed(3, 0), 0, 0.0},
        {"otherSize", Filled(2, 3, 100), 255, 1.0},
        {"empty", Filled(0, 0, 0), 255, 1.0},
    };
    for (const auto& c : cases) {
        const TestImage& a = c.other.width == 0 ? c.other : base;
        EXPECT_EQ(TestImage::DifferingShare(a, c.other, c.tolerance), c.share) << c.name;
    }
}

} // namespace
