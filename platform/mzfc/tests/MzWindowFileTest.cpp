// The desktop window's place kept between runs: the text of the file, the screens it
// must still show on, and the file itself (written whole or not at all, read with a
// limit, nothing planted followed).
#include "MzTestFixture.h"

#include "screen/MzWindowFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

const std::string kSaved = "# desktop window\nx 40\ny -20\nwidth 900\nheight 600\nfullscreen 1\n";

TEST(MzWindowPlacementTest, ParseTakesOnlyWhatFormatWrites) {
    const struct {
        const char* what;
        std::string text;
        bool valid;
    } cases[] = {
        {"as written", kSaved, true},
        {"without the last line break", "# desktop window\nwidth 720\nheight 480", true},
        {"empty", "", false},
        {"no header", "x 40\ny 20\nwidth 900\nheight 600\n", false},
        {"no height", "# desktop window\nwidth 720\n", false},
        {"x without y", "# desktop window\nx 5\nwidth 720\nheight 480\n", false},
        {"a key twice", "# desktop window\nwidth 720\nwidth 800\nheight 480\n", false},
        {"an unknown key", "# desktop window\nwidth 720\nheight 480\ndepth 3\n", false},
        {"too tall", "# desktop window\nwidth 720\nheight 16385\n", false},
        {"too far out", "# desktop window\nx 100001\ny 0\nwidth 720\nheight 480\n", false},
        {"a number with a tail", "# desktop window\nwidth 720px\nheight 480\n", false},
        {"a huge number", "# desktop window\nwidth 99999999999999999999\nheight 480\n", false},
        {"line ends of another system", "# desktop window\r\nwidth 720\r\nheight 480\r\n", false},
        {"a zero byte", std::string("# desktop window\nwidth 720\0\nheight 480\n", 39), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MzWindowPlacement::Parse(c.text).has_value(), c.valid) << c.what;
    const auto saved = MzWindowPlacement::Parse(kSaved);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->Format(), kSaved);
    EXPECT_EQ((std::array{saved->x, saved->y, saved->width, saved->height}),
              (std::array{40, -20, 900, 600}));
    EXPECT_TRUE(saved->fullScreen && saved->hasPosition);
}

// Two screens side by side; the window must show at least 48 x 48 pixels on one.
TEST(MzWindowPlacementTest, APlaceIsUsedOnlyWhileTheWindowStillShowsOnAScreen) {
    const std::vector<RECT> screens{{0, 0, 1280, 800}, {1280, -200, 3840, 1240}};
    const struct {
        int x, y;
        bool onScreen;
    } cases[] = {
        {1300, -150, true},                    // on the second screen
        {-652, 0, true},     {-653, 0, false}, // 48 and 47 columns left on the first
        {0, 752, true},      {0, 753, false},  // 48 and 47 rows at the bottom
        {100, -1000, false}, {5000, 100, false},
    };
    for (const auto& c : cases) {
        MzWindowPlacement p;
        p.hasPosition = true;
        p.x = c.x;
        p.y = c.y;
        p.width = 700;
        p.height = 500;
        EXPECT_EQ(p.IsOnScreen(screens), c.onScreen) << c.x << "," << c.y;
    }
    MzWindowPlacement unplaced;
    unplaced.width = 700;
    unplaced.height = 500;
    EXPECT_FALSE(unplaced.IsOnScreen(screens)) << "no place saved";
}

// The fixture's device root points XDG_CONFIG_HOME into itself.
class MzWindowFileTest : public MzFixture {
protected:
    std::string Folder() const { return device_.ConfigHome() + "/burrowbop"; }
    std::string File() const { return Folder() + "/window"; }
    void Plant(const std::string& text) const {
        fs::create_directories(Folder());
        std::ofstream(File(), std::ios::binary) << text;
    }
};

TEST_F(MzWindowFileTest, SavedPlaceComesBackAndStaysPrivate) {
    EXPECT_EQ(MzWindowFile::Path(), File());
    EXPECT_FALSE(MzWindowFile::Load()) << "no file yet";
    const auto placement = MzWindowPlacement::Parse(kSaved);
    ASSERT_TRUE(MzWindowFile::Save(*placement));
    EXPECT_EQ(MzWindowFile::Load(), placement);
    struct stat st {};
    ASSERT_EQ(stat(File().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(stat(Folder().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    // Saved again over the first: one file, no temporary one left behind.
    MzWindowPlacement other = *placement;
    other.fullScreen = false;
    ASSERT_TRUE(MzWindowFile::Save(other));
    EXPECT_EQ(MzWindowFile::Load(), other);
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder()), fs::directory_iterator()), 1);
}

TEST_F(MzWindowFileTest, RelativeConfigHomeIsIgnoredForHome) {
    const std::string home = root_ + "/home";
    const char* oldHome = getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(MzWindowFile::Path(), home + "/.config/burrowbop/window");
    setenv("XDG_CONFIG_HOME", device_.ConfigHome().c_str(), 1);
    setenv("HOME", savedHome.c_str(), 1);
}

// Anything but a small regular file of the right text is passed over: the window then
// opens where it would without one. Nothing hangs, nothing is followed.
TEST_F(MzWindowFileTest, DamagedOrPlantedFilesAreIgnored) {
    const struct {
        const char* what;
        std::function<void()> plant;
    } cases[] = {
        {"damaged", [&] { Plant("# desktop window\nwidth 72"); }},
        {"too large", [&] { Plant(kSaved + std::string(2000, '#')); }},
        {"a link to a good file",
         [&] {
             std::ofstream(root_ + "/elsewhere") << kSaved;
             fs::create_directories(Folder());
             fs::create_symlink(root_ + "/elsewhere", File());
         }},
        {"a pipe",
         [&] {
             fs::create_directories(Folder());
             mkfifo(File().c_str(), 0600);
         }},
        {"the product's folder is a link",
         [&] {
             fs::create_directories(root_ + "/real");
             std::ofstream(root_ + "/real/window") << kSaved;
             fs::create_directories(device_.ConfigHome());
             fs::create_symlink(root_ + "/real", Folder());
         }},
    };
    for (const auto& c : cases) {
        fs::remove_all(device_.ConfigHome());
        c.plant();
        EXPECT_FALSE(MzWindowFile::Load()) << c.what;
    }
}

// A link planted where the file goes is replaced, never written through; a config
// home that cannot hold a folder fails the save without harm.
TEST_F(MzWindowFileTest, SavingNeverWritesThroughALink) {
    const auto placement = MzWindowPlacement::Parse(kSaved);
    fs::create_directories(Folder());
    std::ofstream(root_ + "/victim") << "keep";
    fs::create_symlink(root_ + "/victim", File());
    ASSERT_TRUE(MzWindowFile::Save(*placement));
    EXPECT_FALSE(fs::is_symlink(File()));
    std::ifstream victim(root_ + "/victim");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(victim), {}), "keep");

    fs::remove_all(device_.ConfigHome());
    std::ofstream(device_.ConfigHome()) << "a file, not a folder";
    EXPECT_FALSE(MzWindowFile::Save(*placement));
}

} // namespace
