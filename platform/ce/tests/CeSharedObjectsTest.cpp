#include "ce/CeHandleTable.h"
#include "ce/CeIpcChannel.h"
#include "ce/CePath.h"
#include "ce/CeProduct.h"
#include "objects/CeSharedText.h"
#include "testing/TestDeviceRoot.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct Counted : CeObject {
    explicit Counted(int* alive) : alive_(alive) { ++*alive_; }
    ~Counted() override { --*alive_; }
    int* alive_;
};
struct Other : CeObject {};

} // namespace

// A CloseHandle on one thread while another still uses the object must not free it
// under that user; stale, forged and wrong-kind handles give nothing.
TEST(CeHandleTableTest, ObjectOutlivesCloseWhileInUseAndBadHandlesGiveNothing) {
    int alive = 0;
    HANDLE h = CeHandleTable::Insert(std::make_unique<Counted>(&alive));
    std::shared_ptr<Counted> inUse = CeHandleTable::Lookup<Counted>(h);
    ASSERT_NE(inUse, nullptr);
    EXPECT_TRUE(CeHandleTable::Close(h));
    EXPECT_EQ(alive, 1) << "freed while in use";
    inUse.reset();
    EXPECT_EQ(alive, 0) << "kept after its last user";

    HANDLE other = CeHandleTable::Insert(std::make_unique<Other>());
    const struct {
        const char* what;
        HANDLE handle;
    } bad[] = {
        {"closed", h},
        {"null", nullptr},
        {"forged", reinterpret_cast<HANDLE>(uintptr_t{0x7})},
        {"invalid", INVALID_HANDLE_VALUE},
        {"another kind", other},
    };
    for (const auto& c : bad)
        EXPECT_EQ(CeHandleTable::Lookup<Counted>(c.handle), nullptr) << c.what;
    EXPECT_FALSE(CeHandleTable::Close(h));
    EXPECT_TRUE(CeHandleTable::Close(other));
}

// Mutexes and registry keys name their files this way: every spelling that folds
// alike shares a file, others never do, and no name exceeds a file name's length.
TEST(CeSharedTextTest, SharedFileNamesFoldCaseAndStayShort) {
    EXPECT_EQ(CeSharedText::FileName(u"Game.Lock"), CeSharedText::FileName(u"GAME.lock"));
    EXPECT_EQ(CeSharedText::FileName(u"àb"), CeSharedText::FileName(u"ÀB"));
    EXPECT_NE(CeSharedText::FileName(u"a"), CeSharedText::FileName(u"b"));
    EXPECT_NE(CeSharedText::FileName(u"../x"), "../x");
    const std::u16string longA(300, u'a'), longB = std::u16string(299, u'a') + u'b';
    EXPECT_LE(CeSharedText::FileName(longA).size(), 255u);
    EXPECT_NE(CeSharedText::FileName(longA), CeSharedText::FileName(longB));
    for (const std::u16string& name : {std::u16string(u"x/y"), longA})
        EXPECT_EQ(CeSharedText::FileName(name).find('/'), std::string::npos);
}

// The program's name places its default device root and its sockets; a name that
// could leave the data folder or break a socket name is refused and changes nothing.
TEST(CeProductTest, NamePlacesTheDeviceRootAndSocketsAndBadNamesAreRefused) {
    const char* bad[] = {nullptr, "",      ".hidden", "../up",
                         "a/b",   "Upper", "sp ace",  "waytoolongwaytoolongwaytoolong-xyz"};
    for (const char* name : bad)
        EXPECT_FALSE(CeProduct::SetName(name)) << (name ? name : "(null)");
    EXPECT_EQ(CeProduct::Name(), CeProduct::kDefaultName);

    TestDeviceRoot outer;
    const std::string savedRoot = getenv("CE_DEVICE_ROOT");
    const char* xdg = getenv("XDG_DATA_HOME");
    const std::string savedXdg = xdg ? xdg : "";
    unsetenv("CE_DEVICE_ROOT");
    setenv("XDG_DATA_HOME", outer.Host("data").c_str(), 1);
    ASSERT_TRUE(CeProduct::SetName("other-game.2"));
    CePath::ResetForTests();
    EXPECT_EQ(CePath::DeviceRoot(), outer.Host("data/other-game.2/device"));
    EXPECT_EQ(CeIpcChannel::SocketName(7, 1), "other-game.2-ce/7-0000000000000001");

    ASSERT_TRUE(CeProduct::SetName(CeProduct::kDefaultName));
    if (xdg)
        setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
    setenv("CE_DEVICE_ROOT", savedRoot.c_str(), 1);
    CePath::ResetForTests();
    EXPECT_EQ(CePath::DeviceRoot(), outer.Path());
}
