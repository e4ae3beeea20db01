// Failures the player would not see otherwise get one line on stderr, with file and reason, once.
#include "ce/ce.h"
#include "ce/CePath.h"
#include "testing/TestDeviceRoot.h"
#include "testing/TestProcess.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>

namespace {

// What body writes on stderr, run in a new process (the lines are once per run).
std::string StderrOf(const TestDeviceRoot& root, const std::function<void()>& body) {
    TestProcess child;
    EXPECT_TRUE(child.Fork([&] {
        dup2(open(root.Host("stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        body();
        return 0;
    }));
    EXPECT_EQ(child.Wait(std::chrono::milliseconds(10000)), 0);
    return root.Get("stderr.txt");
}

// Reading, missing and already existing files are the caller's question, not a fault to tell.
TEST(CeNoticeTest, FileThatCannotBeWrittenIsToldOnceWithItsReason) {
    TestDeviceRoot root;
    root.MakeDir("config.ini"); // a folder where a file belongs
    root.Put("plain", "a file, not a folder");
    const auto openForWriting = [] {
        HANDLE h = CreateFileW(u"\\config.ini", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    };
    const auto replace = [&] {
        root.Put("config.ini~", "");
        EXPECT_FALSE(MoveFileExW(u"\\config.ini~", u"\\config.ini", MOVEFILE_REPLACE_EXISTING));
    };
    const std::string cannotWrite = "cannot write " + root.Host("config.ini") + ": Is a directory";
    const struct {
        const char* name;
        std::function<void()> body;
        std::string line; // the one line told; empty for nothing
    } cases[] = {
        {"opened for writing", openForWriting, cannotWrite},
        {"replaced", replace, cannotWrite},
        {"both: one line",
         [&] {
             openForWriting();
             replace();
             openForWriting();
         },
         cannotWrite},
        {"reading and missing files",
         [] {
             EXPECT_EQ(
                 CreateFileW(u"\\absent.ini", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
                 INVALID_HANDLE_VALUE);
             HANDLE h =
                 CreateFileW(u"\\new.ini", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
             EXPECT_NE(h, INVALID_HANDLE_VALUE);
             CloseHandle(h);
             EXPECT_EQ(CreateFileW(u"\\new.ini", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr),
                       INVALID_HANDLE_VALUE);
         },
         ""},
        {"device root that cannot be made",
         [&] {
             setenv("CE_DEVICE_ROOT", root.Host("plain/device").c_str(), 1);
             CePath::ResetForTests();
             CePath::DeviceRoot();
         },
         "cannot make the device root " + root.Host("plain/device") + ": Not a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = StderrOf(root, c.body);
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), c.line.empty() ? 0 : 1) << text;
        EXPECT_NE(text.find(c.line), std::string::npos) << text;
    }
}

} // namespace
