// A test with its own empty device root, removed afterwards.
#pragma once

#include "testing/TestDeviceRoot.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

class CeSharedRootFixture : public ::testing::Test {
protected:
    void SetUp() override {
        device_ = std::make_unique<TestDeviceRoot>();
        root_ = device_->Path();
        ASSERT_FALSE(root_.empty());
    }
    void TearDown() override { device_.reset(); }
    std::string root_;

private:
    std::unique_ptr<TestDeviceRoot> device_;
};
