// A planted or damaged .ce/: links are never followed, FIFOs never waited on, and whatever is of
// the wrong kind is set aside (with one line on stderr) and made anew.
#include "ce/CeRegistry.h"
#include "ce/CeWindow.h"
#include "ipc/CeProcessRecord.h"
#include "objects/CeSharedText.h"
#include "testing/TestDeviceRoot.h"
#include "testing/TestPipe.h"
#include "testing/TestProcess.h"
#include "windows/CeMessageNames.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::string TableLine(const std::u16string& name, UINT number) {
    return CeSharedText::ToHex(CeSharedText::Fold(name)) + " " + std::to_string(number) + "\n";
}

std::vector<CeProcessRecord::Window> ProbeWindow() {
    return {{0x10001, 1, u"ProbeWnd", u"probe"}};
}

bool SelfListed() {
    for (const auto& e : CeProcessRecord::Live(true))
        if (e.pid == static_cast<int>(::getpid()) && e.windows.size() == 1)
            return true;
    return false;
}

TEST(CeSharedRootTrustTest, LinksUnderDotCeAreNeverFollowed) {
    using Roots = const TestDeviceRoot&;
    const struct {
        const char* what;
        std::function<void(Roots root, Roots outside)> plant;
        std::function<void(Roots outside)> actAndCheck;
    } cases[] = {
        {"message table linked to an outside file",
         [](Roots r, Roots o) {
             o.Put("names", TableLine(u"Evil", 0xC777));
             fs::create_symlink(o.Host("names"), r.Host(".ce/messages/table"));
         },
         [](Roots o) {
             EXPECT_NE(RegisterWindowMessageW(u"Evil"), 0xC777u) << "the outside table read";
             EXPECT_EQ(o.Get("names"), TableLine(u"Evil", 0xC777));
         }},
        {"lock file linked to a missing outside file",
         [](Roots r, Roots o) { fs::create_symlink(o.Host("made"), r.Host(".ce/messages/.lock")); },
         [](Roots o) {
             EXPECT_NE(RegisterWindowMessageW(u"Fine"), 0u);
             EXPECT_FALSE(o.Exists("made"));
         }},
        {"old temporary file name linked to an outside file",
         [](Roots r, Roots o) {
             o.Put("victim", "keep me");
             fs::create_symlink(o.Host("victim"),
                                r.Host(".ce/messages/table.tmp." + std::to_string(::getpid())));
         },
         [](Roots o) {
             EXPECT_NE(RegisterWindowMessageW(u"Fine"), 0u);
             EXPECT_EQ(o.Get("victim"), "keep me");
         }},
        {"process records linked to an outside folder",
         [](Roots r, Roots o) {
             o.Put("1-00000000000000aa.rec", "record 1\n");
             o.Put("1-00000000000000aa.lock", "");
             fs::create_symlink(o.Path(), r.Host(".ce/procs"));
         },
         [](Roots o) {
             EXPECT_TRUE(CeProcessRecord::Live(true).empty());
             EXPECT_TRUE(o.Exists("1-00000000000000aa.rec") && o.Exists("1-00000000000000aa.lock"));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestDeviceRoot outside; // only for its folder: the device root is set after
        TestDeviceRoot root;
        root.MakeDir(".ce/messages");
        c.plant(root, outside);
        c.actAndCheck(outside);
    }
}

TEST(CeSharedRootTrustTest, FifosNeverHangAReader) {
    const char* kRegistryKey = ".ce/registry/hkey_current_user/software/trust";
    const struct {
        const char* what;
        std::string fifo; // below the root
        std::function<void()> act;
    } cases[] = {
        {"a process's lock", ".ce/procs/1-00000000000000aa.lock",
         [] { CeProcessRecord::Live(true); }},
        {"the message table", ".ce/messages/table", [] { RegisterWindowMessageW(u"Name"); }},
        {"a registry key's values", std::string(kRegistryKey) + "/.values",
         [] {
             HKEY key = nullptr;
             if (RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Trust", 0, 0, &key) == 0) {
                 DWORD size = 0;
                 RegQueryValueExW(key, u"Value", nullptr, nullptr, nullptr, &size);
                 RegCloseKey(key);
             }
         }},
    };
    for (const auto& c : cases) {
        TestDeviceRoot root;
        root.MakeDir(".ce/procs");
        root.MakeDir(".ce/messages");
        root.MakeDir(kRegistryKey);
        root.Put(".ce/procs/1-00000000000000aa.rec", "record 1\n");
        ASSERT_EQ(::mkfifo(root.Host(c.fifo).c_str(), 0644), 0) << c.what;
        TestProcess child;
        ASSERT_TRUE(child.Fork([&] { return c.act(), 0; }));
        EXPECT_EQ(child.Wait(5000ms), 0) << c.what << ": blocked on a FIFO";
    }
}

TEST(CeSharedRootTrustTest, WrongKindsAreSetAsideAndMadeAnew) {
    const struct {
        const char* what;
        std::function<void(const TestDeviceRoot&)> plant;
        std::function<bool()> works;
        const char* named; // in the stderr line
    } cases[] = {
        {".ce is a file", [](const TestDeviceRoot& r) { r.Put(".ce", "x"); }, SelfListed, ".ce"},
        {"procs is a file", [](const TestDeviceRoot& r) { r.Put(".ce/procs", "x"); }, SelfListed,
         "procs"},
        {"the message table is a folder",
         [](const TestDeviceRoot& r) { r.MakeDir(".ce/messages/table/sub"); },
         [] {
             UINT first = RegisterWindowMessageW(u"One");
             return first != 0 && RegisterWindowMessageW(u"Two") != first &&
                    RegisterWindowMessageW(u"One") == first;
         },
         "table"},
        {"the message lock is a folder",
         [](const TestDeviceRoot& r) { r.MakeDir(".ce/messages/.lock"); },
         [] { return RegisterWindowMessageW(u"One") != 0; }, ".lock"},
    };
    for (const auto& c : cases) {
        TestDeviceRoot root;
        c.plant(root);
        ::testing::internal::CaptureStderr();
        CeProcessRecord::SetWindows(ProbeWindow()); // checked through SelfListed
        bool works = c.works();
        std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_TRUE(works) << c.what;
        EXPECT_NE(said.find("set aside"), std::string::npos) << c.what << ": " << said;
        EXPECT_NE(said.find(c.named), std::string::npos) << c.what << ": " << said;
        CeProcessRecord::SetWindows({});
    }
}

TEST(CeSharedRootTrustTest, DamagedRecordOfALiveProcessIsWrittenAnew) {
    TestDeviceRoot root;
    TestPipe ready;
    TestProcess child;
    ASSERT_TRUE(child.Fork([&] {
        ready.CloseReadEnd();
        ready.Write(CeProcessRecord::SetWindows(ProbeWindow()) ? 'y' : 'n');
        ::pause();
        return 0;
    }));
    ready.CloseWriteEnd();
    char c = 0;
    ASSERT_TRUE(ready.Read(c) && c == 'y');
    std::string record;
    for (const auto& entry : fs::directory_iterator(root.Host(".ce/procs")))
        if (entry.path().extension() == ".rec")
            record = entry.path().filename().string();
    ASSERT_FALSE(record.empty());
    root.Put(".ce/procs/" + record, "garbage\x01\x02");

    ::testing::internal::CaptureStderr();
    std::vector<CeProcessRecord::Entry> live = CeProcessRecord::Live(false);
    std::string said = ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live[0].pid, child.Pid());
    ASSERT_EQ(live[0].windows.size(), 1u);
    EXPECT_EQ(live[0].windows[0].className, u"ProbeWnd");
    EXPECT_NE(said.find("set aside"), std::string::npos) << said;
}

} // namespace
