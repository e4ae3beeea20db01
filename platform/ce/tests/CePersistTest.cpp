// The file layer says "keep this" right after each change it makes under the device
// root, and only then: a page's storage is written back on that call, so a change it
// misses is lost when the tab closes, and a call before the change is complete keeps
// the old bytes.
#include "CeFileCalls.h"

#include "ce/CePersist.h"
#include "testing/TestDeviceRoot.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const TestDeviceRoot* g_root = nullptr;
std::vector<std::string> g_seen; // what a.ini held at each call ("-" when absent)

void Record() {
    g_seen.push_back(g_root->Exists("Disk/a.ini") ? g_root->Get("Disk/a.ini") : "-");
}

void Write(HANDLE h, const char* bytes) {
    DWORD n = 0;
    EXPECT_TRUE(WriteFile(h, bytes, static_cast<DWORD>(strlen(bytes)), &n, nullptr));
}

TEST(CePersist, EachChangeUnderTheDeviceRootIsKeptOnceItIsComplete) {
    struct Case {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> seen;
    } cases[] = {
        {"written, then closed",
         [] {
             HANDLE h = Open(u"Disk\\a.ini", RW, 0, CREATE_ALWAYS);
             Write(h, "new");
             Write(h, "er");
             EXPECT_TRUE(g_seen.empty()); // not while the handle is open
             CloseHandle(h);
         },
         {"newer"}},
        {"opened for writing, nothing written",
         [] { CloseHandle(Open(u"Disk\\a.ini", RW, 0, OPEN_EXISTING)); },
         {}},
        {"a new copy moved over it",
         [] {
             HANDLE h = Open(u"Disk\\a.tmp", RW, 0, CREATE_NEW);
             Write(h, "copy");
             CloseHandle(h); // a.ini unchanged yet: the call sees the old bytes
             EXPECT_TRUE(MoveFileExW(u"Disk\\a.tmp", u"Disk\\a.ini", MOVEFILE_REPLACE_EXISTING));
         },
         {"old", "copy"}},
        {"moved to a free name",
         [] { EXPECT_TRUE(MoveFileExW(u"Disk\\a.ini", u"Disk\\b.ini", 0)); },
         {"-"}},
        {"a move refused",
         [] {
             CloseHandle(Open(u"Disk\\b.ini", RW, 0, CREATE_NEW));
             g_seen.clear();
             EXPECT_FALSE(MoveFileExW(u"Disk\\b.ini", u"Disk\\a.ini", 0));
         },
         {}},
        {"deleted", [] { EXPECT_TRUE(DeleteFileW(u"Disk\\a.ini")); }, {"-"}},
        {"a folder made and removed",
         [] {
             EXPECT_TRUE(CreateDirectoryW(u"Disk\\d", nullptr));
             EXPECT_TRUE(RemoveDirectoryW(u"Disk\\d"));
         },
         {"old", "old"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestDeviceRoot root;
        root.MakeDir("Disk");
        root.Put("Disk/a.ini", "old");
        g_root = &root;
        g_seen.clear();
        CePersist::SetHook(&Record);
        c.act();
        CePersist::SetHook(nullptr);
        EXPECT_EQ(g_seen, c.seen);
    }
}

} // namespace
