// The sample window against the reference picture kept in tests/data. Font
// rendering may differ a little between machines, so the comparison allows small
// differences. To make a new reference: MZFC_UPDATE_REFERENCE=1 ./mzfc_tests
// --gtest_filter=MzScreenshotTest.*, then look at the picture before committing.
#include "MzSampleWnd.h"
#include "MzTestFixture.h"
#include "testing/TestImage.h"

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
    TestImage actual, expected;
    ASSERT_TRUE(actual.Load(shot));
    ASSERT_TRUE(expected.Load(reference)) << reference;
    // Few pixels differ clearly (glyph edges), and most not at all (no change of tint).
    EXPECT_LT(TestImage::DifferingShare(actual, expected, 64), 0.01);
    EXPECT_LT(TestImage::DifferingShare(actual, expected, 2), 0.05);
}
