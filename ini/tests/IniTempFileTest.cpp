// The temporary file of an atomic write is always a new file: whatever was planted
// at its name (a hard or symbolic link to another file, a stale copy) is removed,
// never written through, and the other file keeps its bytes.
#include "IniFile.h"
#include "IniTestBytes.h"
#include "ce/ce.h"
#include "testing/TestDeviceRoot.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

const char16_t* const kPath = u"Disk\\config.ini";
const char* const kHost = "Disk/config.ini";
const char* const kTemp = "Disk/config.ini~";

TEST(IniTempFileTest, WhatLiesAtTheTemporaryNameIsNeverWrittenThrough) {
    const struct {
        const char* what;
        std::function<void(const TestDeviceRoot&)> plant;
        // The path layer never touches a link: the write is refused instead.
        bool written;
    } cases[] = {
        {"a hard link to another file",
         [](const TestDeviceRoot& r) { fs::create_hard_link(r.Host("outside"), r.Host(kTemp)); },
         true},
        {"a symbolic link to another file",
         [](const TestDeviceRoot& r) { fs::create_symlink(r.Host("outside"), r.Host(kTemp)); },
         false},
        {"a stale temporary file",
         [](const TestDeviceRoot& r) { r.Put(kTemp, "stale bytes of a killed writer"); }, true},
    };
    for (const auto& c : cases) {
        TestDeviceRoot root;
        root.MakeDir("Disk");
        root.Put("outside", "not yours");
        root.Put(kHost, IniBytes(u"[Config]\r\nisSoundOn=1\r\n"));
        c.plant(root);
        EXPECT_EQ(IniWriteString(u"Config", u"isSoundOn", u"0", kPath), c.written ? 1 : 0)
            << c.what;
        EXPECT_EQ(root.Get(kHost), IniBytes(c.written ? u"[Config]\r\nisSoundOn=0\r\n"
                                                      : u"[Config]\r\nisSoundOn=1\r\n"))
            << c.what;
        EXPECT_EQ(root.Get("outside"), "not yours") << c.what;
        if (c.written) {
            EXPECT_FALSE(fs::exists(fs::symlink_status(root.Host(kTemp)))) << c.what;
        }
    }
}

} // namespace
