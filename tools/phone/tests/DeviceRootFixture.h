// A test with its own empty device root (CE_DEVICE_ROOT, inherited by the
// processes it starts), removed afterwards.
#pragma once

#include "PhoneProcess.h"
#include "testing/TestDeviceRoot.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

class DeviceRootFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(root_.empty()); }
    // Starts `phone args...` and waits for its line containing ready (if given).
    std::unique_ptr<TestProcess> StartPhone(const std::vector<std::string>& args,
                                            const std::string& ready = "") {
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
    TestDeviceRoot device_;
    const std::string& root_ = device_.Path();
};
