// Registered window messages: one number per name, without regard to case, in
// 0xC000..0xFFFF, the same for every caller of the device.
#include "CeSharedRootFixture.h"

#include "ce/ce.h"

#include <set>
#include <thread>

namespace {
class CeMessageNamesTest : public CeSharedRootFixture {};

TEST_F(CeMessageNamesTest, SameNameSameNumberOtherNameOtherNumber) {
    UINT usb = RegisterWindowMessageW(u"UsbNotifyMsgName");
    EXPECT_GE(usb, 0xC000u);
    EXPECT_LE(usb, 0xFFFFu);
    EXPECT_EQ(RegisterWindowMessageW(u"UsbNotifyMsgName"), usb);
    EXPECT_EQ(RegisterWindowMessageW(u"USBNOTIFYMSGNAME"), usb);
    UINT other = RegisterWindowMessageW(u"Other");
    EXPECT_NE(other, usb);
    EXPECT_GE(other, 0xC000u);
    EXPECT_EQ(RegisterWindowMessageW(u""), 0u);
    EXPECT_EQ(RegisterWindowMessageW(nullptr), 0u);
}

TEST_F(CeMessageNamesTest, ConcurrentCallersAgree) {
    constexpr int kThreads = 8;
    UINT numbers[kThreads][2] = {};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &numbers] {
            std::u16string mine = u"Name" + std::u16string(1, static_cast<char16_t>(u'A' + t));
            numbers[t][0] = RegisterWindowMessageW(mine.c_str());
            numbers[t][1] = RegisterWindowMessageW(u"Shared");
        });
    }
    for (auto& t : threads)
        t.join();
    std::set<UINT> distinct;
    for (int t = 0; t < kThreads; ++t) {
        distinct.insert(numbers[t][0]);
        EXPECT_EQ(numbers[t][1], numbers[0][1]);
    }
    EXPECT_EQ(distinct.size(), static_cast<size_t>(kThreads));
    EXPECT_EQ(distinct.count(numbers[0][1]), 0u);
}
} // namespace
