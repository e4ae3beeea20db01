#include "MzTestFixture.h"

#include "ce/CeTimerQueue.h"
#include "ce/CeUiClock.h"

using MzTimerTest = MzFixture;

// Setting a timer again restarts it; a kill stops it.
TEST_F(MzTimerTest, TimersFireInDeadlineOrderAsTheClockAdvances) {
    RecordingWnd wnd(kShown);
    const UINT periods[] = {0, 300, 200, 250}; // by id
    MzTest::RunLoop({[&] {
                         for (UINT_PTR id : {1, 2, 3})
                             SetTimer(wnd.m_hWnd, id, periods[id], nullptr);
                     },
                     [&] { MzTest::Advance(199); },
                     [&] {
                         EXPECT_TRUE(wnd.timers.empty());
                         MzTest::Advance(401); // to 600
                     },
                     [&] {
                         for (UINT_PTR id : {1, 2, 3})
                             KillTimer(wnd.m_hWnd, id);
                         MzTest::ClearTrace();
                         SetTimer(wnd.m_hWnd, 10, 1000, nullptr);
                     },
                     [&] { MzTest::Advance(900); },
                     [&] { SetTimer(wnd.m_hWnd, 10, 990, nullptr); }, // restarts at 900
                     [&] { MzTest::Advance(989); },
                     [&] {
                         EXPECT_EQ(wnd.timers.size(), 7u);
                         MzTest::Advance(1);
                     },
                     [&] {
                         EXPECT_TRUE(KillTimer(wnd.m_hWnd, 10));
                         EXPECT_FALSE(KillTimer(wnd.m_hWnd, 10));
                         MzTest::Advance(5000);
                     }});
    // 200 250 300 400 500 600(1) 600(2), then 10 at 990 after its restart
    EXPECT_EQ(wnd.timers, (std::vector<int>{2, 3, 1, 2, 3, 1, 2, 10}));
    EXPECT_EQ(TraceOf("timer"), (std::vector<std::string>{"timer-set 10 1000", "timer-set 10 990",
                                                          "timer-kill 10", "timer-kill 10"}));
}

// A quit a handler posts ends the loop.
TEST_F(MzTimerTest, HandlerThatReArmsGetsTheNewInterval) {
    RecordingWnd wnd(kShown);
    int interval = 1000;
    wnd.onTimer = [&](UINT_PTR id) {
        if (id == 5) {
            KillTimer(wnd.m_hWnd, id);
            PostQuitMessage(4);
            return;
        }
        interval -= 10;
        SetTimer(wnd.m_hWnd, id, interval, nullptr);
    };
    const int code =
        MzTest::RunLoop({[&] {
                             SetTimer(wnd.m_hWnd, 10, 1000, nullptr);
                             SetTimer(wnd.m_hWnd, 5, 3000, nullptr);
                         },
                         [] { MzTest::Advance(1000 + 990 + 980); }, [] { MzTest::Advance(30); }});
    KillTimer(wnd.m_hWnd, 10);
    EXPECT_EQ(wnd.timers, (std::vector<int>{10, 10, 10, 5}));
    EXPECT_EQ(code, 4);
}

// Timers of a destroyed window stop.
TEST_F(MzTimerTest, ThreadTimerCallsItsProcedure) {
    auto* wnd = new RecordingWnd(kShown);
    HWND h = wnd->m_hWnd;
    SetTimer(h, 1, 100, nullptr);
    delete wnd;
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(SetTimer(h, 1, 100, nullptr), 0u); // no timer for a gone window
    static int calls;
    calls = 0;
    UINT_PTR id = 0;
    MzTest::RunLoop(
        {[&] { id = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { ++calls; }); },
         [] { MzTest::Advance(160); }, [&] { KillTimer(nullptr, id); }});
    EXPECT_NE(id, 0u);
    EXPECT_EQ(calls, 3);
}

// The queue itself, with the clock moved by hand.
TEST_F(MzTimerTest, ALateTimerTicksOnceAndKeepsItsPhase) {
    CeTimerQueue& q = CeTimerQueue::Instance();
    RecordingWnd wnd(kShown);
    q.Set(wnd.m_hWnd, 1, 500, nullptr);
    const int64_t start = CeUiClock::NowUs();
    CeUiClock::Advance(2600 * 1000); // five periods late
    CeTimerTick tick{};
    ASSERT_TRUE(q.PopDue(CeUiClock::NowUs(), nullptr, tick));
    EXPECT_FALSE(q.PopDue(CeUiClock::NowUs(), nullptr, tick)); // no burst
    EXPECT_EQ(q.NextDeadline() - start, 3000 * 1000);          // on the 500 ms grid
    q.Kill(wnd.m_hWnd, 1);
    EXPECT_EQ(q.NextDeadline(), -1);
}

// A minimized window (a hidden page) stops the clock for its timers: nothing fires
// however long it stays hidden, each timer resumes with the time it had left, and a
// timer set while hidden counts from the moment it is shown.
TEST_F(MzTimerTest, HiddenWindowsTimersStandStillAndResumeWithTheirRemainingTime) {
    RecordingWnd wnd(kShown);
    MzTest::RunLoop({[&] {
                         SetTimer(wnd.m_hWnd, 1, 1000, nullptr);
                         SetTimer(wnd.m_hWnd, 2, 300, nullptr);
                     },
                     [] { MzTest::Advance(600); }, // 2 at 300, 600; 1 has 400 left
                     [&] {
                         MzTest::SetHidden(true);
                         MzTest::SetHidden(true); // a second report changes nothing
                     },
                     [] { MzTest::Advance(60000); },
                     [&] {
                         EXPECT_EQ(wnd.timers, (std::vector<int>{2, 2}));
                         SetTimer(wnd.m_hWnd, 3, 350, nullptr);
                         MzTest::Advance(5000);
                     },
                     [&] {
                         MzTest::SetHidden(false);
                         MzTest::SetHidden(false);
                     },
                     [] { MzTest::Advance(399); }, // 2 at 300 (its phase kept), 3 at 350
                     [&] {
                         EXPECT_EQ(wnd.timers, (std::vector<int>{2, 2, 2, 3}));
                         MzTest::Advance(1);
                     },
                     [&] {
                         for (UINT_PTR id : {1, 2, 3})
                             KillTimer(wnd.m_hWnd, id);
                     }});
    EXPECT_EQ(wnd.timers, (std::vector<int>{2, 2, 2, 3, 1}));
    EXPECT_EQ(TraceOf("hidden"), (std::vector<std::string>{"hidden"}));
    EXPECT_EQ(TraceOf("shown"), (std::vector<std::string>{"shown"}));
}
