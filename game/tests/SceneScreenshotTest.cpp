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

struct Scene {
    const char* name; // the picture's file name without .png
    int hits, misses; // of a game played first (hits < 0: none)
    MzTest::Step last;
};

const Scene kScenes[] = {
    {"title-screen", -1, 0, nullptr},
    {"game-in-progress", 3, 2, nullptr},
    {"game-over", 2, 6, nullptr},
    {"name-entry", 4, 6, nullptr},
    {"name-entry-typed", 4, 6,
     [] {
         WaitOutGuard();
         MzTest::TypeText(u"小明");
     }},
    {"name-entry-pressed", 4, 6,
     [] {
         WaitOutGuard();
         MzTest::Press(540, 446); // "完成" held down
     }},
    {"empty-name-prompt", 4, 6,
     [] {
         WaitOutGuard();
         TapEntryButton(1);
     }},
    {"about-box", -1, 0, [] { TapCentre(Wnd().menuButtons[1]); }},
    {"wait-dialog", -1, 0, nullptr},
};

class SceneScreenshotTest : public MoleTestBase, public ::testing::WithParamInterface<Scene> {};

TEST_P(SceneScreenshotTest, MatchesTheReference) {
    const Scene& scene = GetParam();
    WriteConfigText(SettingsText(u"小儿子", u"3"));
    const std::string shot = Root() + "/" + scene.name + ".png";
    const bool wait = std::string(scene.name) == "wait-dialog";
    auto steps = scene.hits < 0 ? std::vector<MzTest::Step>{} : Play(scene.hits, scene.misses);
    if (scene.last) {
        steps.push_back(scene.last);
    }
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
        std::filesystem::copy_file(shot, reference,
                                   std::filesystem::copy_options::overwrite_existing);
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
