// Debug output: one line on stderr (escaped as every notice is), a line told only once.
#include "ce/ce.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CeDebugOutputTest, OneLineAndEachLineToldOnce) {
    const struct {
        const char16_t* text;
        const char* line; // after "<program>: "; null: nothing
    } cases[] = {
        {u"plain 名字 \\path", "plain 名字 \\path"},
        {u"ends with a line break\r\n", "ends with a line break"},
        {u"plain 名字 \\path", nullptr}, // told already
        {nullptr, nullptr},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        OutputDebugStringW(c.text);
        const std::string out = testing::internal::GetCapturedStderr();
        if (!c.line) {
            EXPECT_EQ(out, "");
            continue;
        }
        const size_t colon = out.find(": ");
        ASSERT_NE(colon, std::string::npos) << out;
        EXPECT_EQ(out.substr(colon + 2), std::string(c.line) + "\n");
    }
}

} // namespace
