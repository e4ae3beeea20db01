// The phone tool's commands as a user runs them: status, one driver per device,
// and the usage on bad command lines.
#include "DeviceRootFixture.h"

#include <chrono>

using namespace std::chrono_literals;

namespace {
class PhoneCommandTest : public DeviceRootFixture {};

TEST_F(PhoneCommandTest, StatusListsWindowsDevicesAndLock) {
    auto shell = StartPhone({"shell"}, "shell: ready");
    auto driver = StartPhone({"usb-driver"}, "usb-driver: ready");
    ASSERT_EQ(PhoneProcess::Run({"lock", "on"}), 0);
    std::string status;
    EXPECT_EQ(PhoneProcess::Run({"status"}, &status), 0);
    EXPECT_NE(status.find("CShellMainWnd"), std::string::npos) << status;
    EXPECT_NE(status.find("pid " + std::to_string(shell->Pid())), std::string::npos) << status;
    EXPECT_NE(status.find("usb function driver: running, no message number yet"), std::string::npos)
        << status;
    EXPECT_NE(status.find("lock: on"), std::string::npos) << status;
}

TEST_F(PhoneCommandTest, OnlyOneDriverServesTheBusNameUntilItDies) {
    auto first = StartPhone({"usb-driver"}, "usb-driver: ready");
    EXPECT_EQ(PhoneProcess::Run({"usb-driver"}), 1);
    first->Kill();
    first->Wait(10000ms);
    auto second = StartPhone({"usb-driver"}, "usb-driver: ready");
    second->Terminate();
    EXPECT_EQ(second->Wait(10000ms), 0); // a stop signal ends it cleanly
}

TEST_F(PhoneCommandTest, BadCommandLinesShowTheUsage) {
    const std::vector<std::vector<std::string>> bad = {{},
                                                       {"nonsense"},
                                                       {"lock"},
                                                       {"lock", "maybe"},
                                                       {"usb", "notify", "x"},
                                                       {"usb", "notify", "99999999999"},
                                                       {"shell", "--wrong"}};
    for (const auto& args : bad)
        EXPECT_EQ(PhoneProcess::Run(args), 2) << (args.empty() ? "" : args[0]);
    std::string help;
    EXPECT_EQ(PhoneProcess::Run({"--help"}, &help), 0);
    EXPECT_NE(help.find("usb-driver"), std::string::npos);
}
} // namespace
