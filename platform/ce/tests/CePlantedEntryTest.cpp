// A link planted under the device root can be moved aside as itself, and only that.
#include "CeFileCalls.h"
#include "testing/TestDeviceRoot.h"

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

} // namespace
