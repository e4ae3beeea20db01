// The named mutex within one process: names shared between handles, ownership by
// the creating thread, and the name freed when the last handle closes.
#include "CeSharedRootFixture.h"

#include "ce/ce.h"

#include <thread>

namespace {
class CeMutexTest : public CeSharedRootFixture {};

TEST_F(CeMutexTest, SecondHandleOfANameSeesItExisting) {
    HANDLE first = CreateMutexW(nullptr, TRUE, u"Mole");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    HANDLE second = CreateMutexW(nullptr, TRUE, u"MOLE");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    HANDLE other = CreateMutexW(nullptr, FALSE, u"Other");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(CloseHandle(first));
    EXPECT_TRUE(CloseHandle(second));
    EXPECT_TRUE(CloseHandle(other));
    HANDLE again = CreateMutexW(nullptr, TRUE, u"Mole");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(again);
}

TEST_F(CeMutexTest, OnlyTheOwningThreadReleases) {
    HANDLE m = CreateMutexW(nullptr, TRUE, u"Mole");
    BOOL fromOther = TRUE;
    std::thread([&] { fromOther = ReleaseMutex(m); }).join();
    EXPECT_FALSE(fromOther);
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_FALSE(ReleaseMutex(m)); // not owned any more
    HANDLE unowned = CreateMutexW(nullptr, FALSE, u"Free");
    EXPECT_FALSE(ReleaseMutex(unowned));
    HANDLE existing = CreateMutexW(nullptr, TRUE, u"Mole"); // exists: no ownership
    EXPECT_FALSE(ReleaseMutex(existing));
    EXPECT_FALSE(ReleaseMutex(nullptr));
    EXPECT_FALSE(ReleaseMutex(INVALID_HANDLE_VALUE));
    CloseHandle(m);
    CloseHandle(unowned);
    CloseHandle(existing);
}

TEST_F(CeMutexTest, UnnamedAndBadNames) {
    HANDLE a = CreateMutexW(nullptr, TRUE, nullptr);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    HANDLE b = CreateMutexW(nullptr, TRUE, nullptr); // unnamed mutexes never meet
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(a);
    CloseHandle(b);
    std::u16string tooLong(MAX_PATH + 1, u'x');
    EXPECT_EQ(CreateMutexW(nullptr, TRUE, tooLong.c_str()), nullptr);
    std::u16string odd = u"a/b\\..\\c:*?";
    HANDLE c = CreateMutexW(nullptr, TRUE, odd.c_str());
    EXPECT_NE(c, nullptr);
    CloseHandle(c);
}
} // namespace
