// The title screen as presented, against the reference picture in the repository.
// To refresh the reference after a deliberate change of art or layout, run with
// BURROWBOP_UPDATE_REFERENCE=1 and look at the new picture before committing it.
#include "MoleTestBase.h"
#include "testing/TestImage.h"

#include <cstdlib>
#include <filesystem>

namespace {

const std::string kReference = std::string(BURROWBOP_TEST_DATA_DIR) + "/title-screen.png";

using ScreenshotTest = MoleTestBase;

TEST_F(ScreenshotTest, TitleScreenMatchesTheReference) {
    const std::string shot = Root() + "/title.png";
    Run({[&] { ASSERT_TRUE(MzTest::SaveScreenPng(shot.c_str())); }});
    if (std::getenv("BURROWBOP_UPDATE_REFERENCE") != nullptr) {
        std::filesystem::copy_file(shot, kReference,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    TestImage actual;
    TestImage reference;
    ASSERT_TRUE(actual.Load(shot));
    ASSERT_TRUE(reference.Load(kReference)) << kReference;
    EXPECT_EQ(actual.width, 720);
    EXPECT_EQ(actual.height, 480);
    // Font hinting and scaling may move a few pixels; the picture must not change.
    EXPECT_LT(TestImage::DifferingShare(actual, reference, 24), 0.01);
}

} // namespace
