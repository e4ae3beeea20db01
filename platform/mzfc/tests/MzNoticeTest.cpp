// A picture or a sound that is missing or cannot be decoded gets one line on stderr
// naming it and the reason, however often it is asked for; nothing else changes.
#include "MzTestFixture.h"

#include "screen/MzBitmap.h"
#include "sound/MzAudio.h"

#include <fstream>
#include <functional>

using MzNoticeTest = MzFixture;

TEST_F(MzNoticeTest, PictureOrSoundThatCannotBeLoadedIsToldOnce) {
    std::ofstream(root_ + "/bad.png") << "not a picture";
    std::ofstream(root_ + "/bad.wav") << "not a sound";
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const struct {
        const char* name;
        std::function<void()> load;
        std::string line;
    } cases[] = {
        {"missing picture", [] { EXPECT_EQ(MzBitmap::Load(u"\\gone.png"), nullptr); },
         "cannot load the picture \\gone.png: No such file or directory"},
        {"undecodable picture", [] { EXPECT_EQ(MzBitmap::Load(u"\\bad.png"), nullptr); },
         "cannot load the picture " + root_ + "/bad.png: "},
        {"missing sound", [] { EXPECT_FALSE(MzAudio::Instance().Play(u"\\gone.wav")); },
         "cannot play the sound \\gone.wav: No such file or directory"},
        {"undecodable sound", [] { EXPECT_FALSE(MzAudio::Instance().Play(u"\\bad.wav")); },
         "cannot play the sound " + root_ + "/bad.wav: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::internal::CaptureStderr();
        c.load();
        c.load();
        const std::string text = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
        EXPECT_NE(text.find(c.line), std::string::npos) << text;
    }
    MzAudio::Instance().Close();
    unsetenv("SDL_AUDIODRIVER");
}
