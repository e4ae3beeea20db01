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
    void SetUp() override;
    void TearDown() override;
    // Starts `phone args...` and waits for its line containing ready (if given).
    std::unique_ptr<TestProcess> StartPhone(const std::vector<std::string>& args,
                                            const std::string& ready = "");
    std::string root_;

private:
    std::unique_ptr<TestDeviceRoot> device_;
};
