#include "loop/MzLoop.h"

#include "ce/CeMessageQueue.h"
#include "mzfc/CMzApp.h"
#include "screen/MzDisplay.h"
#include "screen/MzScreen.h"
#include "testmode/MzTestScript.h"
#include "windows/MzFramework.h"

#include <algorithm>
#include <vector>

namespace {
int g_depth = 0;
std::vector<CMzWnd*> g_modals;

void DispatchOne(MSG& msg, CMzApp* app) {
    if (!app || !app->PreTranslateMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
} // namespace

int MzLoop::RunMain(CMzApp* app) {
    ++g_depth;
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0))
        DispatchOne(msg, app);
    --g_depth;
    return static_cast<int>(msg.wParam);
}

void MzLoop::RunModal(const bool* ended) {
    ++g_depth;
    MSG msg{};
    while (!*ended) {
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            if (g_depth > 1) // the loops outside end too
                CeMessageQueue::Instance().PostQuit(static_cast<int>(msg.wParam));
            break;
        }
        DispatchOne(msg, MzGetApp());
    }
    --g_depth;
}

void MzLoop::PushModal(CMzWnd* wnd) {
    g_modals.push_back(wnd);
}

void MzLoop::PopModal(CMzWnd* wnd) {
    auto it = std::find(g_modals.rbegin(), g_modals.rend(), wnd);
    if (it != g_modals.rend())
        g_modals.erase(std::next(it).base());
}

CMzWnd* MzLoop::TopModal() {
    return g_modals.empty() ? nullptr : g_modals.back();
}

bool MzLoop::ReadInput() {
    // Wake-ups arrive as events before the window opens too; test mode queues its own.
    const bool did = MzDisplay::Pump();
    return MzScreen::Instance().FlushIdle() || did;
}

bool MzLoop::Idle() {
    return MzFramework::IsTestMode() && MzTestScript::RunNextStep();
}
