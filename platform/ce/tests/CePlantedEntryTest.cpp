// Entries planted under the device root that are not regular files: a link can be
// moved aside as itself and only that, and nothing but a regular file is ever opened,
// so a FIFO cannot hang an open.
#include "CeFileCalls.h"
#include "testing/TestDeviceRoot.h"

#include <sys/stat.h>

namespace {

TEST(CePlantedEntryTest, LinkIsMovedAsItselfToAFreeNameBesideIt) {
    TestDeviceRoot root;
    root.MakeDir("d");
    root.MakeDir("other");
    root.Put("target", "kept");
    root.Put("d/taken", "");
    fs::create_symlink(root.Host("target"), root.Host("d/link"));
    EXPECT_TRUE(Fails(MoveFileExW(u"d\\link", u"d\\taken", MOVEFILE_REPLACE_EXISTING),
                      ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(Fails(MoveFileExW(u"d\\link", u"other\\link", 0), ERROR_ACCESS_DENIED));
    EXPECT_TRUE(Fails(MoveFileExW(u"d\\LINK\\x", u"d\\y", 0), ERROR_ACCESS_DENIED));
    EXPECT_TRUE(MoveFileExW(u"d\\LINK", u"d\\aside", 0)); // names match without case
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(root.Host("d/aside"))));
    EXPECT_FALSE(fs::exists(fs::symlink_status(root.Host("d/link"))));
    EXPECT_EQ(root.Get("target"), "kept");
    EXPECT_EQ(root.Get("d/taken"), "");
}

TEST(CePlantedEntryTest, OnlyRegularFilesOpen) {
    TestDeviceRoot root;
    ASSERT_EQ(mkfifo(root.Host("fifo").c_str(), 0600), 0);
    for (DWORD access : {R, RW}) {
        EXPECT_TRUE(Fails(Open(u"fifo", access, SR, OPEN_EXISTING), ERROR_ACCESS_DENIED));
        EXPECT_TRUE(Fails(Open(u"fifo", access, SR, OPEN_ALWAYS), ERROR_ACCESS_DENIED));
    }
    EXPECT_TRUE(fs::is_fifo(root.Host("fifo")));
}

} // namespace
