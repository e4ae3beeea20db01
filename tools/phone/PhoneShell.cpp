#include "PhoneShell.h"

#include "PhoneSignals.h"
#include "ce/CeRemoteWindowLink.h"
#include "ce/CeWindowTable.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {
bool g_hang = false;

void Say(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Say(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}
} // namespace

LRESULT PhoneShell::WndProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto w = static_cast<unsigned long long>(wParam);
    auto l = static_cast<long long>(lParam);
    if (msg == kCommand) {
        if (g_hang) {
            Say("shell: command wParam=%llu lParam=%lld (not answering)\n", w, l);
            for (;;) // stuck for good; a stop signal ends the process
                std::this_thread::sleep_for(std::chrono::hours(1));
        }
        Say("shell: command wParam=%llu lParam=%lld\n", w, l);
        return 1;
    }
    if (msg == kEnterModal) {
        Say("shell: modal\n");
        MSG inner;
        while (GetMessageW(&inner, nullptr, 0, 0))
            DispatchMessageW(&inner);
        PostQuitMessage(0); // the nested loop took the quit meant for the outer one
        return 0;
    }
    if (msg >= WM_USER)
        Say("shell: message 0x%X wParam=%llu lParam=%lld\n", msg, w, l);
    return 0;
}

void PhoneShell::OnWindowChanged(HWND hwnd, CeWindowChange change) {
    if (hwnd != window_)
        return;
    if (change == CeWindowChange::Foreground)
        Say("shell: foreground\n");
    else if (change == CeWindowChange::Shown)
        Say("shell: shown\n");
    else if (change == CeWindowChange::Hidden)
        Say("shell: hidden\n");
}

int PhoneShell::Run() {
    g_hang = hang_;
    PhoneSignals::OnStop([hang = hang_] {
        if (hang)
            std::_Exit(0); // the UI thread is stuck on purpose
        PostQuitMessage(0);
    });
    CeRemoteWindowLink::Install();
    CeWindowTable::Instance().AddObserver(this);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WndProc;
    wc.lpszClassName = ShellProtocol::kWindowClass;
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, ShellProtocol::kWindowClass, u"Shell", WS_VISIBLE, 0, 0, 720, 480,
                              nullptr, nullptr, nullptr, nullptr);
    if (window_ == nullptr) {
        std::fprintf(stderr, "phone shell: cannot create the shell window\n");
        return 1;
    }
    ShowWindow(window_, SW_SHOW);
    if (modal_)
        PostMessageW(window_, kEnterModal, 0, 0);
    Say("shell: ready\n");
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0))
        DispatchMessageW(&msg);
    CeWindowTable::Instance().RemoveObserver(this);
    DestroyWindow(window_);
    return 0;
}
