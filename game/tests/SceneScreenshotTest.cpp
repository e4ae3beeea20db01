// The screens a player sees, drawn in test mode at a fixed clock (so a fixed mole
// sequence), against the pictures in docs/ that the README shows. The framework's
// own windows (name entry, message boxes, wait dialog) are among them.
// `make screenshots` (BURROWBOP_UPDATE_REFERENCE=1) draws them anew into docs/;
// look at every one before committing it.
#include "MoleTestBase.h"
#include "testing/TestImage.h"

#include "mzfc/MzWaitDlg.h"

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

const std::u16string kSettings = SettingsText(u"小儿子", u"3");

// The start tap, then `hits` moles hit, then `misses` moles let go.
std::vector<MzTest::Step> Play(int hits, int misses) {
    std::vector<MzTest::Step> steps{[] { TapCentre(Wnd().menuButtons[0]); }};
    for (int i = 0; i < hits; ++i) {
        steps.push_back([] { AdvanceToNextMole(); });
        steps.push_back([] { TapMole(); });
    }
    for (int i = 0; i < misses; ++i)
        steps.push_back([] { AdvanceToNextMole(); });
    return steps;
}

struct Scene {
    const char* name; // the picture's file name without .png
    std::vector<MzTest::Step> (*steps)();
};

const Scene kScenes[] = {
    {"title-screen", [] { return std::vector<MzTest::Step>{}; }},
    {"game-in-progress", [] { return Play(3, 2); }},
    {"game-over", [] { return Play(2, 6); }},
    {"name-entry", [] { return Play(4, 6); }},
    {"name-entry-typed",
     [] {
         auto steps = Play(4, 6);
         steps.push_back([] { MzTest::TypeText(u"小明"); });
         return steps;
     }},
    {"name-entry-pressed", // "完成" held down
     [] {
         auto steps = Play(4, 6);
         steps.push_back([] { MzTest::Press(540, 446); });
         return steps;
     }},
    {"empty-name-prompt",
     [] {
         auto steps = Play(4, 6);
         steps.push_back([] { TapEntryButton(1); });
         return steps;
     }},
    {"about-box",
     [] { return std::vector<MzTest::Step>{[] { TapCentre(Wnd().menuButtons[1]); }}; }},
    {"wait-dialog", [] { return std::vector<MzTest::Step>{}; }},
};

void PrintTo(const Scene& scene, std::ostream* out) {
    *out << scene.name;
}

class SceneScreenshotTest : public MoleTestBase, public ::testing::WithParamInterface<Scene> {};

TEST_P(SceneScreenshotTest, MatchesTheReference) {
    const Scene& scene = GetParam();
    WriteConfigText(kSettings);
    const std::string shot = Root() + "/" + scene.name + ".png";
    const bool wait = std::string(scene.name) == "wait-dialog";
    auto steps = scene.steps();
    steps.push_back([&] {
        if (wait) // the box that start-up shows while it loads, over the title screen
            MzBeginWaitDlg(nullptr, nullptr, false);
        ASSERT_TRUE(MzTest::SaveScreenPng(shot.c_str()));
        if (wait)
            MzEndWaitDlg();
        PostQuitMessage(0); // leave the modal windows without pressing anything
    });
    Run(steps);

    const std::string reference = std::string(BURROWBOP_DOCS_DIR) + "/" + scene.name + ".png";
    if (std::getenv("BURROWBOP_UPDATE_REFERENCE") != nullptr)
        fs::copy_file(shot, reference, fs::copy_options::overwrite_existing);
    TestImage actual;
    TestImage expected;
    ASSERT_TRUE(actual.Load(shot));
    ASSERT_TRUE(expected.Load(reference)) << reference;
    // Font hinting and scaling may move a few pixels; the picture must not change.
    EXPECT_LT(TestImage::DifferingShare(actual, expected, 24), 0.01) << scene.name;
}

INSTANTIATE_TEST_SUITE_P(Screens, SceneScreenshotTest, ::testing::ValuesIn(kScenes),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::erase(name, '-');
                             return name;
                         });

} // namespace
