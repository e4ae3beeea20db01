// A picture or a sound that is missing, cannot be decoded or is over its limit gets one
// line on stderr naming it and the reason, however often it is asked for; nothing else
// changes. The limits are checked before anything is decoded.
#include "MzTestFixture.h"

#include "screen/MzBitmap.h"
#include "sound/MzAudio.h"

#include <fstream>
#include <functional>
#include <unistd.h>

namespace {

// A PNG's signature and header chunk claiming w x h pixels, and nothing to decode.
std::string PngHeader(uint32_t w, uint32_t h) {
    std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (uint32_t v : {w, h})
        for (int shift = 24; shift >= 0; shift -= 8)
            png.push_back(static_cast<char>((v >> shift) & 0xFF));
    return png + std::string("\x08\x06\0\0\0", 5) + std::string(4, '\0');
}

} // namespace

using MzNoticeTest = MzFixture;

TEST_F(MzNoticeTest, PictureOrSoundThatCannotBeLoadedIsToldOnce) {
    std::ofstream(root_ + "/bad.png") << "not a picture";
    std::ofstream(root_ + "/bad.wav") << "not a sound";
    std::ofstream(root_ + "/huge.png", std::ios::binary) << PngHeader(20000, 20000);
    for (const char* big : {"/big.png", "/big.wav"}) {
        std::ofstream(root_ + big) << "x";
        ASSERT_EQ(truncate((root_ + big).c_str(), 8 << 20), 0);
    }
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
        {"picture of 20000 x 20000 pixels",
         [] { EXPECT_EQ(MzBitmap::Load(u"\\huge.png"), nullptr); },
         "huge.png: 20000 x 20000 pixels, more than the 2048 x 2048 allowed"},
        {"picture file of 8 MiB", [] { EXPECT_EQ(MzBitmap::Load(u"\\big.png"), nullptr); },
         "big.png: larger than the 4 MiB allowed"},
        {"sound file of 8 MiB", [] { EXPECT_FALSE(MzAudio::Instance().Play(u"\\big.wav")); },
         "big.wav: larger than the 2 MiB allowed"},
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
