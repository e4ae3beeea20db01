// A test with its own empty device root, removed afterwards.
#pragma once

#include "ce/CePath.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

class CeSharedRootFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (std::filesystem::temp_directory_path() / "ce-shared-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        root_ = tmpl;
        const char* old = std::getenv("CE_DEVICE_ROOT");
        hadOld_ = old != nullptr;
        old_ = hadOld_ ? old : "";
        ::setenv("CE_DEVICE_ROOT", root_.c_str(), 1);
        CePath::ResetForTests();
    }
    void TearDown() override {
        if (hadOld_)
            ::setenv("CE_DEVICE_ROOT", old_.c_str(), 1);
        else
            ::unsetenv("CE_DEVICE_ROOT");
        CePath::ResetForTests();
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    std::string root_;

private:
    std::string old_;
    bool hadOld_ = false;
};
