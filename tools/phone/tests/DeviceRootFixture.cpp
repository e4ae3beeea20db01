#include "DeviceRootFixture.h"

#include "ce/CeRemoteWindowLink.h"

void DeviceRootFixture::SetUp() {
    device_ = std::make_unique<TestDeviceRoot>();
    root_ = device_->Path();
    ASSERT_FALSE(root_.empty());
    CeRemoteWindowLink::Install(); // this process reaches the windows of the ones it starts
}

void DeviceRootFixture::TearDown() {
    device_.reset();
}

std::unique_ptr<ChildProcess> DeviceRootFixture::StartPhone(const std::vector<std::string>& args,
                                                            const std::string& ready) {
    auto child = std::make_unique<ChildProcess>();
    std::vector<std::string> all{PHONE_EXE};
    all.insert(all.end(), args.begin(), args.end());
    EXPECT_TRUE(child->Start(all));
    if (!ready.empty()) {
        EXPECT_TRUE(child->WaitFor(ready, 10000)) << "phone " << args[0] << " did not start";
    }
    return child;
}
