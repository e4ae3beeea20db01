#include "MzTestFixture.h"

#include "ce/CeTimerQueue.h"
#include "ce/CeUiClock.h"

#include <SDL_keycode.h>

#include <algorithm>
#include <thread>

using MzLoopTest = MzFixture;

namespace {
constexpr UINT kPing = WM_USER + 1;

struct ModalWnd : RecordingWnd {
    const WCHAR* GetWndClassName() override { return u"ModalWnd"; }
};
} // namespace

TEST_F(MzLoopTest, ScriptRunsInOrderUntilItEndsOrAQuitCodeEndsIt) {
    std::vector<int> order;
    EXPECT_EQ(MzTest::RunLoop({[&] { order.push_back(1); }, [&] { order.push_back(2); }}), 0);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    bool ranAfterQuit = false;
    EXPECT_EQ(MzTest::RunLoop({[] { PostQuitMessage(7); }, [&] { ranAfterQuit = true; }}), 7);
    EXPECT_FALSE(ranAfterQuit);
    EXPECT_EQ(TraceOf("quit"), (std::vector<std::string>{"quit 7"}));
}

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
    std::vector<UINT> pings;
    std::copy_if(wnd.raw.begin(), wnd.raw.end(), std::back_inserter(pings),
                 [](UINT m) { return m >= kPing && m <= kPing + 3; });
    // The send is handled at once, the posts when the loop gets to them.
    EXPECT_EQ(pings, (std::vector<UINT>{kPing + 2, kPing, kPing + 1, kPing + 3}));
    EXPECT_EQ(TraceOf("post"), (std::vector<std::string>{"post RecordingWnd 0x401 1 2",
                                                         "post RecordingWnd 0x402 3 4",
                                                         "post RecordingWnd 0x404 0 0"}));
    EXPECT_EQ(TraceOf("send"), (std::vector<std::string>{"send RecordingWnd 0x403 5 6"}));
}

// So does a message box, closed with its OK button (its keys are in MzKeyCommandTest).
// EndModal on a window that is not modal does nothing.
TEST_F(MzLoopTest, DoModalReturnsTheEndModalCode) {
    RecordingWnd main(kShown);
    int result = -1, boxResult = -1;
    bool afterBox = false;
    ModalWnd modal;
    MzTest::RunLoop({[&] {
                         ASSERT_TRUE(modal.Create(0, 0, 720, 480, main.m_hWnd, 0, WS_POPUP));
                         result = modal.DoModal(1); // the next step runs inside
                     },
                     [&] {
                         EXPECT_TRUE(modal.IsModalRunning());
                         EXPECT_TRUE(IsWindowVisible(modal.m_hWnd));
                         modal.EndModal(2);
                     },
                     [&] {
                         EXPECT_FALSE(modal.IsModalRunning());
                         main.EndModal(1);
                     },
                     [&] {
                         boxResult = MzMessageBoxEx(main.m_hWnd, u"请输入您的大名", u"", 0, 0);
                         afterBox = true;
                     },
                     [] {
                         auto* box = dynamic_cast<MzMessageBoxWnd*>(MzTest::ActiveWindow());
                         ASSERT_NE(box, nullptr);
                         RECT ok = box->OkRect();
                         MzTest::Tap((ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2);
                     },
                     [&] { EXPECT_TRUE(afterBox); }});
    EXPECT_EQ(result, 2);
    EXPECT_FALSE(IsWindowVisible(modal.m_hWnd));
    EXPECT_EQ(boxResult, 1);
    EXPECT_TRUE(IsWindowVisible(main.m_hWnd));
    RecordingWnd never; // no window at all
    never.EndModal(1);
    EXPECT_EQ(never.DoModal(), 0);
}

// However nested modal loops end, each DoModal returns and nothing runs after a quit.
TEST_F(MzLoopTest, NestedModalsEndInnermostFirstAndAQuitOrTheScriptsEndEndsThemAll) {
    enum How { EndModals, Quit, ScriptRunsOut };
    const struct {
        const char* name;
        How how;
        int code, inner, outer;
    } cases[] = {{"EndModal", EndModals, 0, 5, 6},
                 {"quit", Quit, 9, 0, 0},
                 {"script runs out", ScriptRunsOut, 0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingWnd main(kShown);
        ModalWnd outer, inner;
        int outerResult = -1, innerResult = -1;
        bool after = false;
        std::vector<MzTest::Step> steps = {
            [&] {
                outer.Create(0, 0, 720, 480, main.m_hWnd, 0, WS_POPUP);
                outerResult = outer.DoModal();
            },
            [&] {
                inner.Create(0, 0, 720, 480, outer.m_hWnd, 0, WS_POPUP);
                innerResult = inner.DoModal();
            }};
        if (c.how == EndModals)
            steps.insert(steps.end(), {[&] { inner.EndModal(5); },
                                       [&] {
                                           EXPECT_EQ(innerResult, 5);
                                           EXPECT_TRUE(outer.IsModalRunning());
                                           outer.EndModal(6);
                                       }});
        if (c.how == Quit)
            steps.insert(steps.end(), {[] { PostQuitMessage(9); }, [&] { after = true; }});
        EXPECT_EQ(MzTest::RunLoop(steps), c.code);
        EXPECT_EQ(innerResult, c.inner);
        EXPECT_EQ(outerResult, c.outer);
        EXPECT_FALSE(after);
        EXPECT_FALSE(outer.IsModalRunning());
    }
}

// Also when the main window is brought forward while the modal one runs (a second
// copy of the program does that): the modal window it owns stays above it, and one
// it does not own still keeps the input.
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
        ModalWnd modal;
        MzTest::RunLoop({[&] {
                             modal.Create(200, 200, 300, 200, c.owned ? main.m_hWnd : nullptr, 0,
                                          WS_POPUP);
                             Put(modal, inside, 0, 0, 100, 100, 8);
                             modal.DoModal();
                         },
                         [&] {
                             if (c.bringMainForward)
                                 SetForegroundWindow(main.m_hWnd);
                             EXPECT_EQ(MzTest::ActiveWindow(), &modal);
                         },
                         [] { MzTest::Tap(50, 50); },   // below, outside the modal window
                         [] { MzTest::Tap(250, 250); }, // the modal window's button
                         [&] { modal.EndModal(1); }, [] { MzTest::Tap(50, 50); }});
        EXPECT_EQ(modal.commands, (Commands{{8, 0}}));
        EXPECT_EQ(main.commands, (Commands{{7, 0}})); // after it closed
    }
}

// A timer whose every tick costs more than its period (a send to a hung shell) is
// always due. A tap made during a tick is still read right after that tick, before
// the next one, in the main loop and in a modal loop alike.
TEST_F(MzLoopTest, TapIsReadBeforeATimerThatIsAlwaysDue) {
    for (bool inModal : {false, true}) {
        SCOPED_TRACE(inModal ? "modal loop" : "main loop");
        RecordingWnd main(kShown);
        ModalWnd modal;
        RecordingWnd& target = inModal ? static_cast<RecordingWnd&>(modal) : main;
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
        int code = MzTest::RunLoop({[&] {
            SetTimer(main.m_hWnd, 7, 500, nullptr);
            CeUiClock::Advance(600 * 1000);
            if (inModal) {
                ASSERT_TRUE(modal.Create(0, 0, 720, 480, main.m_hWnd, 0, WS_POPUP));
                modal.DoModal(1);
            }
        }});
        EXPECT_EQ(code, 0);
        EXPECT_EQ(tapAtTick, 1);
        KillTimer(main.m_hWnd, 7);
    }
}
