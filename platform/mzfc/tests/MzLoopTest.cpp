#include "MzTestFixture.h"

#include "ce/CeTimerQueue.h"
#include "ce/CeUiClock.h"

#include <algorithm>
#include <thread>

using MzLoopTest = MzFixture;

constexpr UINT kPing = WM_USER + 1;

// Also a post from another thread wakes the loop.
TEST_F(MzLoopTest, PostedAndSentMessagesReachMzDefWndProc) {
    RecordingWnd wnd(kShown);
    MzTest::ClearTrace();
    LRESULT sent = -1;
    MzTest::RunLoop(
        {[&] {
             PostMessageW(wnd.m_hWnd, kPing, 1, 2);
             PostMessageW(wnd.m_hWnd, kPing + 1, 3, 4);
             sent = SendMessageW(wnd.m_hWnd, kPing + 2, 5, 6);
         },
         [&] { std::thread([&] { PostMessageW(wnd.m_hWnd, kPing + 3, 0, 0); }).join(); }, [] {}});
    EXPECT_EQ(sent, 0);
    std::erase_if(wnd.raw, [](UINT m) { return m < kPing || m > kPing + 3; });
    // The send is handled at once, the posts when the loop gets to them.
    EXPECT_EQ(wnd.raw, (std::vector<UINT>{kPing + 2, kPing, kPing + 1, kPing + 3}));
    EXPECT_EQ(TraceOf("post"), (std::vector<std::string>{"post RecordingWnd 0x401 1 2",
                                                         "post RecordingWnd 0x402 3 4",
                                                         "post RecordingWnd 0x404 0 0"}));
    EXPECT_EQ(TraceOf("send"), (std::vector<std::string>{"send RecordingWnd 0x403 5 6"}));
}

// However nested modal loops end, each DoModal returns and nothing runs after a quit.
// The script runs its steps in order, until it ends or a quit ends it with its code.
TEST_F(MzLoopTest, NestedModalsEndInnermostFirstAndAQuitOrTheScriptsEndEndsThemAll) {
    const struct {
        const char* name;
        int code, inner, outer;
        std::vector<int> order;
    } cases[] = {{"EndModal", 0, 5, 6, {1, 2, 3, 4}},
                 {"quit", 9, 0, 0, {1, 2, 3}},
                 {"script runs out", 0, 0, 0, {1, 2, 3, 4}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MzTest::ClearTrace();
        const bool ends = c.inner != 0, quits = c.code != 0;
        RecordingWnd main(kShown);
        RecordingWnd outer, inner;
        int outerResult = -1, innerResult = -1;
        std::vector<int> order;
        auto open = [&](RecordingWnd& w, HWND owner, int& result) {
            order.push_back(order.size() + 1);
            w.Create(0, 0, 720, 480, owner, 0, WS_POPUP);
            result = w.DoModal();
        };
        const int code = MzTest::RunLoop({[&] { open(outer, main.m_hWnd, outerResult); },
                                          [&] { open(inner, outer.m_hWnd, innerResult); },
                                          [&] {
                                              order.push_back(3);
                                              if (ends)
                                                  inner.EndModal(5);
                                              if (quits)
                                                  PostQuitMessage(9);
                                          },
                                          [&] {
                                              order.push_back(4);
                                              if (!ends)
                                                  return;
                                              EXPECT_EQ(innerResult, 5);
                                              EXPECT_TRUE(outer.IsModalRunning());
                                              outer.EndModal(6);
                                          }});
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(innerResult, c.inner);
        EXPECT_EQ(outerResult, c.outer);
        EXPECT_EQ(order, c.order);
        EXPECT_FALSE(outer.IsModalRunning());
        EXPECT_EQ(TraceOf("quit"),
                  quits ? std::vector<std::string>{"quit 9"} : std::vector<std::string>{});
    }
}

// Also when a second copy of the program brings the main window forward: an owned modal
// window stays above it, and one not owned still keeps the input.
TEST_F(MzLoopTest, WhileAModalWindowRunsWindowsBelowGetNoTaps) {
    const struct {
        const char* name;
        bool owned;
        bool bringMainForward;
    } cases[] = {{"owned", true, false},
                 {"owned, main brought forward", true, true},
                 {"unowned, main brought forward", false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingWnd main(kShown);
        UiButton_Image below, inside;
        Put(main, below, 0, 0, 100, 100, 7);
        RecordingWnd modal;
        int result = -1;
        MzTest::RunLoop(
            {[&] {
                 ASSERT_TRUE(modal.Create(200, 200, 300, 200, c.owned ? main.m_hWnd : nullptr, 0,
                                          WS_POPUP));
                 Put(modal, inside, 0, 0, 100, 100, 8);
                 result = modal.DoModal(); // the next steps run inside
             },
             [&] {
                 if (c.bringMainForward)
                     SetForegroundWindow(main.m_hWnd);
                 EXPECT_EQ(MzTest::ActiveWindow(), &modal);
             },
             [] { MzTest::Tap(50, 50); },   // below, outside the modal window
             [] { MzTest::Tap(250, 250); }, // the modal window's button
             [&] { modal.EndModal(2); }, [&] { main.EndModal(3); }, [] { MzTest::Tap(50, 50); }});
        EXPECT_EQ(result, 2);
        EXPECT_FALSE(IsWindowVisible(modal.m_hWnd));
        EXPECT_TRUE(IsWindowVisible(main.m_hWnd));
        EXPECT_EQ(modal.commands, (Commands{{8, 0}}));
        EXPECT_EQ(main.commands, (Commands{{7, 0}})); // after it closed
    }
    RecordingWnd never; // no window at all
    never.EndModal(1);
    EXPECT_EQ(never.DoModal(), 0);
}

// A timer whose every tick costs more than its period (a send to a hung shell) is
// always due. A tap made during a tick is still read right after that tick, before
// the next one, in the main loop and in a modal loop alike.
TEST_F(MzLoopTest, TapIsReadBeforeATimerThatIsAlwaysDue) {
    for (bool inModal : {false, true}) {
        SCOPED_TRACE(inModal ? "modal loop" : "main loop");
        RecordingWnd main(kShown);
        RecordingWnd modal;
        RecordingWnd& target = inModal ? modal : main;
        int ticks = 0, tapAtTick = -1;
        main.onTimer = [&](UINT_PTR) {
            if (std::count(target.raw.begin(), target.raw.end(), WM_LBUTTONDOWN) > 0) {
                tapAtTick = ticks;
                PostQuitMessage(0);
                return;
            }
            ++ticks;
            CeUiClock::Advance(2000 * 1000);
            if (ticks == 1)
                MzTest::QueueTap(100, 100);
            if (ticks >= 5)
                PostQuitMessage(1);
        };
        MzTest::RunLoop({[&] {
            SetTimer(main.m_hWnd, 7, 500, nullptr);
            CeUiClock::Advance(600 * 1000);
            if (inModal) {
                ASSERT_TRUE(modal.Create(0, 0, 720, 480, main.m_hWnd, 0, WS_POPUP));
                modal.DoModal(1);
            }
        }});
        EXPECT_EQ(tapAtTick, 1);
        KillTimer(main.m_hWnd, 7);
    }
}
