// The mouse pointer over the window: the program's picture, the second one while a
// button is held, none under touch, and the desktop's own without pictures.
#include "MzTestFixture.h"

#include "screen/MzPointer.h"

namespace {

class MzPointerTest : public MzFixture {
protected:
    void TearDown() override { // the pointer outlives windows: leave it as found
        MzPointer::Instance().SetImage(false, nullptr, 0, 0);
        MzPointer::Instance().SetImage(true, nullptr, 0, 0);
        MzPointer::Instance().Touch(false);
    }
};

TEST_F(MzPointerTest, PicturesSwapOnPressAndHideUnderTouch) {
    constexpr uint32_t kRed = 0xFFE0302A, kBlue = 0xFF2A40E0;
    WriteSolidPng("up.png", 32, 32, kRed);
    WriteSolidPng("down.png", 32, 32, kBlue);
    RecordingWnd wnd(kShown);
    enum Act { kNone, kNormal, kPressed, kMissing, kPress, kRelease, kTouch, kMouse };
    const struct {
        Act act;
        std::string shown;
        uint32_t pixel; // at (5, 5)
    } steps[] = {
        {kNone, "system", 0},       {kPress, "system", 0}, // no picture: the desktop's
        {kRelease, "system", 0},    {kNormal, "normal", kRed},
        {kPress, "normal", kRed},   {kRelease, "normal", kRed}, // no second picture yet
        {kPressed, "normal", kRed}, {kPress, "pressed", kBlue},
        {kRelease, "normal", kRed}, {kMissing, "normal", kRed}, // a missing file changes nothing
        {kTouch, "hidden", 0},      {kPress, "hidden", 0},
        {kMouse, "pressed", kBlue}, {kRelease, "normal", kRed},
    };
    MzTest::RunLoop({[&] {
        for (const auto& s : steps) {
            switch (s.act) {
            case kNormal:
                EXPECT_TRUE(MzSetPointerImage(u"\\up.png", false, 4, 30));
                break;
            case kPressed:
                EXPECT_TRUE(MzSetPointerImage(u"\\down.png", true, 4, 30));
                break;
            case kMissing:
                EXPECT_FALSE(MzSetPointerImage(u"\\none.png", false, 0, 0));
                break;
            case kPress:
                MzTest::Press(300, 200);
                break;
            case kRelease:
                MzTest::Release(300, 200);
                break;
            case kTouch:
            case kMouse:
                MzPointer::Instance().Touch(s.act == kTouch);
                break;
            case kNone:
                break;
            }
            EXPECT_EQ(MzTest::PointerShown(), s.shown) << "step " << (&s - steps);
            EXPECT_EQ(MzTest::PointerPixelAt(5, 5), s.pixel) << "step " << (&s - steps);
        }
    }});
}

} // namespace
