// The virtual clock of test mode and the overridden local time.
#include "ce/CeTime.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct VirtualClock {
    VirtualClock() { CeClockSetVirtual(true); }
    ~VirtualClock() {
        CeClockSetLocalTime(nullptr);
        CeClockSetVirtual(false);
    }
};

// Ticks move only when advanced or slept; an overridden local time follows them.
TEST(CeClock, VirtualTicksMoveOnlyWhenAdvanced) {
    VirtualClock clock;
    ASSERT_TRUE(CeClockIsVirtual());
    DWORD start = GetTickCount();
    EXPECT_EQ(GetTickCount(), start);
    CeClockAdvance(250);
    EXPECT_EQ(GetTickCount(), start + 250);
    Sleep(40); // a sleeping program lets virtual time pass
    EXPECT_EQ(GetTickCount(), start + 290);

    SYSTEMTIME set = {2026, 12, 0, 31, 23, 59, 59, 900};
    CeClockSetLocalTime(&set);
    CeClockAdvance(100);
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ((std::vector<WORD>{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                                 now.wSecond, now.wMilliseconds, now.wDayOfWeek}),
              (std::vector<WORD>{2027, 1, 1, 0, 0, 0, 0, 5})); // a Friday
    CeClockAdvance(86400000u * 30); // on across the end of February, in two steps
    CeClockAdvance(86400000u * 29); // (59 days of milliseconds overflow 32 bits)
    GetLocalTime(&now);
    EXPECT_EQ(now.wMonth, 3);
    EXPECT_EQ(now.wDay, 1);
}

// An invalid override is ignored, null restores host time, and real ticks move.
TEST(CeClock, InvalidOverrideIsIgnoredAndNullRestoresHostTime) {
    SYSTEMTIME bad = {2026, 13, 0, 1, 0, 0, 0, 0};
    CeClockSetLocalTime(&bad);
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_GE(now.wYear, 2024);
    EXPECT_LE(now.wMonth, 12);
    CeClockSetLocalTime(nullptr);
    GetSystemTime(&now);
    EXPECT_GE(now.wMonth, 1);
    DWORD a = GetTickCount();
    Sleep(5);
    EXPECT_GE(GetTickCount() - a, 4u);
}

} // namespace
