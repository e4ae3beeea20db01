// The single-process build of the layer, as a page runs it, checked on this host: the
// portable file calls (no openat2, no renameat2) and no IPC listener. The test links
// those sources in place of the library's own.
#include "CeFileCalls.h"

#include "ce/CeRemoteWindowLink.h"
#include "ce/CeWindow.h"
#include "ce/CeWindowTable.h"
#include "files/CeHostCalls.h"
#include "testing/TestDeviceRoot.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace {

// The portable rename refuses any name in the way, a link that leads nowhere too
// (which a look that follows links would take for a free name).
TEST(CeSingleProcess, RenameNoReplaceRefusesWhateverIsInTheWay) {
    struct Case {
        const char* what;
        const char* linkTo; // the name in the way is a link to this; "" a file; null none
        int result;
        int error;
    } cases[] = {
        {"free name", nullptr, 0, 0},
        {"a file", "", -1, EEXIST},
        {"a dangling link", "/nonexistent/x", -1, EEXIST},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestDeviceRoot root;
        root.Put("a", "moved");
        const std::string b = root.Host("b");
        if (c.linkTo && *c.linkTo)
            ASSERT_EQ(symlink(c.linkTo, b.c_str()), 0);
        else if (c.linkTo)
            root.Put("b", "kept");
        errno = 0;
        EXPECT_EQ(CeHostCalls::RenameNoReplace(root.Host("a"), b), c.result);
        if (c.result != 0) {
            EXPECT_EQ(errno, c.error);
        }
        EXPECT_EQ(root.Exists("a"), c.result != 0);
    }
    errno = 0;
    EXPECT_EQ(CeHostCalls::OpenBeneath(AT_FDCWD, "."), -1);
    EXPECT_EQ(errno, ENOSYS); // the walk then goes step by step
}

// Without openat2 the walk goes step by step and still never follows a planted link.
TEST(CeSingleProcess, PlantedLinksAreNotFollowedWithoutOpenat2) {
    TestDeviceRoot outside;
    outside.MakeDir("secret");
    TestDeviceRoot root;
    root.MakeDir("Disk");
    ASSERT_EQ(symlink(outside.Host("secret").c_str(), root.Host("Disk/Games").c_str()), 0);
    HANDLE h = Open(u"Disk\\Games\\config.ini", RW, 0, CREATE_ALWAYS);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    EXPECT_FALSE(outside.Exists("secret/config.ini"));
}

// No listener: the program's own windows work as ever, nothing is published under
// the device root, and the phone's windows are simply not there.
TEST(CeSingleProcess, WindowsWorkInProcessAndNothingIsPublished) {
    TestDeviceRoot root;
    CeRemoteWindowLink::Install();
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND, UINT msg, WPARAM w, LPARAM) -> LRESULT {
        return msg == WM_USER ? static_cast<LRESULT>(w + 1) : 0;
    };
    wc.lpszClassName = u"CMoleMainWnd";
    ASSERT_TRUE(RegisterClassW(&wc));
    HWND wnd = CreateWindowExW(0, u"CMoleMainWnd", u"Burrowbop", 0, 0, 0, 720, 480, nullptr,
                               nullptr, nullptr, nullptr);
    ASSERT_NE(wnd, nullptr);
    ShowWindow(wnd, SW_SHOW);
    EXPECT_EQ(FindWindowW(u"CMoleMainWnd", nullptr), wnd);
    EXPECT_EQ(FindWindowW(u"CShellMainWnd", nullptr), nullptr);
    EXPECT_EQ(SendMessageW(wnd, WM_USER, 41, 0), 42);
    EXPECT_FALSE(root.Exists(".ce/procs") && !std::filesystem::is_empty(root.Host(".ce/procs")));
    DestroyWindow(wnd);
}

} // namespace
