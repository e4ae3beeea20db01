#include "DeviceRootFixture.h"

void DeviceRootFixture::SetUp() {
    device_ = std::make_unique<TestDeviceRoot>();
    root_ = device_->Path();
    ASSERT_FALSE(root_.empty());
}

void DeviceRootFixture::TearDown() {
    device_.reset();
}

std::unique_ptr<TestProcess> DeviceRootFixture::StartPhone(const std::vector<std::string>& args,
                                                           const std::string& ready) {
    auto child = PhoneProcess::Start(args);
    EXPECT_TRUE(child != nullptr);
    if (child == nullptr)
        child = std::make_unique<TestProcess>(); // not started: every call on it fails
    if (!ready.empty()) {
        EXPECT_TRUE(child->WaitFor(ready, std::chrono::milliseconds(10000)))
            << "phone " << args[0] << " did not start";
    }
    return child;
}
