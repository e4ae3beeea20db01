#include "PhoneShell.h"

#include "PhoneSignals.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {
HWND const kShellWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x5E11));

void Log(const char* format, unsigned long long a, long long b) {
    std::printf(format, a, b);
    std::fflush(stdout);
}
} // namespace

int PhoneShell::Run() {
    PhoneSignals::OnStop([this] {
        if (hang_)
            std::_Exit(0); // the UI thread may be stuck on purpose
        queue_.Quit();
    });
    CeRemoteWindowHost::SetUi(this);
    if (!CeRemoteWindowHost::Publish(kShellWindow, u"CShellMainWnd", u"Shell")) {
        std::fprintf(stderr, "phone shell: cannot publish the shell window\n");
        return 1;
    }
    std::printf("shell: ready\n");
    std::fflush(stdout);
    queue_.Loop();
    CeRemoteWindowHost::Withdraw(kShellWindow);
    CeRemoteWindowHost::SetUi(nullptr);
    return 0;
}

BOOL PhoneShell::GetRect(HWND, RECT* rect) {
    *rect = RECT{0, 0, 720, 480}; // the whole screen, behind every application
    return TRUE;
}

BOOL PhoneShell::Show(HWND, int cmd) {
    BOOL was = visible_ ? TRUE : FALSE;
    visible_ = cmd != SW_HIDE;
    std::printf("shell: show %d\n", cmd);
    std::fflush(stdout);
    return was;
}

BOOL PhoneShell::IsVisible(HWND) {
    return visible_ ? TRUE : FALSE;
}

BOOL PhoneShell::SetForeground(HWND) {
    std::printf("shell: foreground\n");
    std::fflush(stdout);
    return TRUE;
}

LRESULT PhoneShell::Send(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != kCommand) {
        Log("shell: message wParam=%llu lParam=%lld\n", wParam, lParam);
        return 0;
    }
    if (hang_) {
        Log("shell: command wParam=%llu lParam=%lld (not answering)\n", wParam, lParam);
        for (;;) // stuck for good; a stop signal ends the process
            std::this_thread::sleep_for(std::chrono::hours(1));
    }
    Log("shell: command wParam=%llu lParam=%lld\n", wParam, lParam);
    return 1;
}

BOOL PhoneShell::Post(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    std::printf("shell: posted 0x%X wParam=%llu lParam=%lld\n", msg,
                static_cast<unsigned long long>(wParam), static_cast<long long>(lParam));
    std::fflush(stdout);
    return TRUE;
}
