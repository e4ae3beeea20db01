// Frames between processes: what is written reads back, and a short or forged
// frame reads as a failure, never past its end.
#include "ipc/CeIpcBuffer.h"

#include <gtest/gtest.h>

namespace {
TEST(CeIpcBufferTest, RoundTrip) {
    CeIpcBuffer out;
    out.PutU32(0xDEADBEEF);
    out.PutU64(0x0123456789ABCDEFull);
    out.PutText(u"CShellMainWnd\u4E2D");
    out.PutBytes("\x01\x00\x02", 3);
    out.PutText(u"");
    CeIpcBuffer in(out.Data());
    uint32_t a = 0;
    uint64_t b = 0;
    std::u16string text, empty = u"x";
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(in.GetU32(a) && in.GetU64(b) && in.GetText(text) && in.GetBytes(bytes) &&
                in.GetText(empty));
    EXPECT_EQ(a, 0xDEADBEEFu);
    EXPECT_EQ(b, 0x0123456789ABCDEFull);
    EXPECT_EQ(text, u"CShellMainWnd\u4E2D");
    EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 0, 2}));
    EXPECT_EQ(empty, u"");
    EXPECT_FALSE(in.GetU32(a)); // nothing left
}

TEST(CeIpcBufferTest, ShortAndForgedFramesFail) {
    const struct {
        const char* what;
        std::string data;
        bool number; // a 64-bit number can be read
        bool bytes;  // a byte string of at most 2 bytes can be read
    } cases[] = {
        {"empty", "", false, false},
        {"three bytes", std::string("\x01\x02\x03", 3), false, false},
        {"length past the end",
         std::string("\x10\x00\x00\x00"
                     "abc",
                     7),
         false, false},
        {"huge length",
         std::string("\xFF\xFF\xFF\xFF"
                     "abcd",
                     8),
         true, false},
        {"odd text",
         std::string("\x02\x00\x00\x00"
                     "abc",
                     7),
         false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CeIpcBuffer a(c.data), b(c.data), d(c.data);
        std::u16string text;
        std::vector<uint8_t> bytes;
        uint64_t v = 0;
        EXPECT_FALSE(a.GetText(text)); // never a whole string of UTF-16 units
        EXPECT_EQ(b.GetU64(v), c.number);
        EXPECT_EQ(d.GetBytes(bytes, 2), c.bytes);
    }
}
} // namespace
