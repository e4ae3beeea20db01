// Failures the player would not see otherwise get one line on stderr, with file and reason, once.
#include "ce/CePath.h"
#include "ce/ce.h"
#include "testing/TestDeviceRoot.h"
#include "testing/TestProcess.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>

namespace {

class CeNoticeTest : public testing::Test {
protected:
    TestDeviceRoot root;
    const std::string root_ = root.Path();
    // What body writes on stderr, run in a new process (the lines are once per run).
    std::string StderrOf(const std::function<void()>& body) {
        const std::string file = root_ + "-stderr.txt";
        TestProcess child;
        EXPECT_TRUE(child.Fork([&] {
            const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
            dup2(fd, 2);
            body();
            return 0;
        }));
        EXPECT_EQ(child.Wait(std::chrono::milliseconds(10000)), 0);
        std::ifstream in(file);
        std::string text((std::istreambuf_iterator<char>(in)), {});
        unlink(file.c_str());
        return text;
    }
    void MakeFile(const char16_t* cePath) {
        HANDLE h = CreateFileW(cePath, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CloseHandle(h);
    }
};

// Reading, missing and already existing files are the caller's question, not a fault to tell.
TEST_F(CeNoticeTest, FileThatCannotBeWrittenIsToldOnceWithItsReason) {
    ASSERT_EQ(mkdir((root_ + "/config.ini").c_str(), 0777), 0); // a folder where a file belongs
    const std::string plain = root_ + "/plain";
    std::ofstream(plain) << "a file, not a folder";
    const auto openForWriting = [] {
        HANDLE h = CreateFileW(u"\\config.ini", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    };
    const auto replace = [this] {
        MakeFile(u"\\config.ini~");
        EXPECT_FALSE(MoveFileExW(u"\\config.ini~", u"\\config.ini", MOVEFILE_REPLACE_EXISTING));
    };
    const std::string cannotWrite = "cannot write " + root_ + "/config.ini: Is a directory";
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
             setenv("CE_DEVICE_ROOT", (plain + "/device").c_str(), 1);
             CePath::ResetForTests();
             CePath::DeviceRoot();
         },
         "cannot make the device root " + plain + "/device: Not a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = StderrOf(c.body);
        if (c.line.empty()) {
            EXPECT_EQ(text, "");
        } else {
            EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
            EXPECT_NE(text.find(c.line), std::string::npos) << text;
        }
        DeleteFileW(u"\\config.ini~");
    }
}

} // namespace
