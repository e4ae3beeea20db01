#include "ce/CeTrace.h"
#include "ce/CeWindow.h"

#include <gtest/gtest.h>

TEST(CeTrace, MemoryCaptureKeepsLinesUntilCleared) {
    CeTrace::CaptureInMemory(true);
    CeTrace::ClearCaptured();
    EXPECT_TRUE(CeTrace::Enabled());
    PostQuitMessage(3);
    UINT_PTR id = SetTimer(nullptr, 0, 60000, [](HWND, UINT, UINT_PTR, DWORD) {});
    KillTimer(nullptr, 12345);
    std::vector<std::string> lines = CeTrace::Captured();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "quit 3");
    EXPECT_EQ(lines[1].rfind("timer-set ", 0), 0u);
    EXPECT_EQ(lines[2], "timer-kill 12345");
    CeTrace::ClearCaptured();
    EXPECT_TRUE(CeTrace::Captured().empty());
    CeTrace::CaptureInMemory(false);
    KillTimer(nullptr, id);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)); // not the quit
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}
