// Whatever else lies where the library expects a file, at its own name or at the temporary
// name of a change, a file over the size limit, and two writers making the same files.
#include "IniTestBytes.h"
#include "ce/CeFaultInjector.h"
#include "ce/ce.h"
#include "ini/IniFile.h"
#include "testing/TestDeviceRoot.h"
#include "testing/TestPipe.h"
#include "testing/TestProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::u16string U16(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

size_t StderrLines() {
    const std::string said = testing::internal::GetCapturedStderr();
    return static_cast<size_t>(std::count(said.begin(), said.end(), '\n'));
}

enum class Plant { Bytes, Link, Folder, Fifo, ReadOnly, HardLink };

void PlantAt(const TestDeviceRoot& root, const std::string& relative, Plant kind,
             const std::string& bytes = "") {
    const std::string host = root.Host(relative);
    switch (kind) {
    case Plant::Bytes:
        root.Put(relative, bytes);
        break;
    case Plant::ReadOnly:
        root.Put(relative, bytes);
        fs::permissions(host, fs::perms::owner_read);
        break;
    case Plant::Link:
        fs::create_symlink(root.Host("outside"), host);
        break;
    case Plant::HardLink:
        fs::create_hard_link(root.Host("outside"), host);
        break;
    case Plant::Folder:
        root.MakeDir(relative);
        root.Put(relative + "/inside", "kept");
        break;
    case Plant::Fifo:
        ASSERT_TRUE(root.MakeFifo(relative));
        break;
    }
}

fs::file_type TypeAt(const TestDeviceRoot& root, const std::string& relative) {
    return fs::symlink_status(root.Host(relative)).type();
}

const std::string kOutside = IniBytes(u"[A]\r\n  k=outside");

class PlantedTest : public testing::Test {
protected:
    void SetUp() override {
        root.MakeDir("Disk");
        root.Put("outside", kOutside);
    }
    // Each row has its own name, so that each line it puts on stderr is new in this run.
    static std::string File(const char* row) { return std::string("Disk/") + row + ".ini"; }
    static std::u16string Path(const char* row) { return u"Disk\\" + U16(row) + u".ini"; }
    TestDeviceRoot root;
};

TEST_F(PlantedTest, WhatTheLibraryCannotReadIsSetAsideNeverFollowed) {
    const std::string head = IniBytes(u"[A]\r\n  k=");
    const std::string atLimit = head + std::string(kIniMaxFileBytes - head.size(), 'x');
    const struct {
        const char* name;
        Plant kind;
        std::string bytes;
        bool setAside;
        fs::file_type asideType = fs::file_type::regular;
    } cases[] = {
        {"oneByte", Plant::Bytes, "\xFF", true},
        {"overLimit", Plant::Bytes, atLimit + "x", true},
        {"readOnlyEmpty", Plant::ReadOnly, "", true},
        {"link", Plant::Link, "", true, fs::file_type::symlink},
        {"folder", Plant::Folder, "", true, fs::file_type::directory},
        {"fifo", Plant::Fifo, "", true, fs::file_type::fifo},
        {"markOnly", Plant::Bytes, "\xFF\xFE", false},
        {"atLimit", Plant::Bytes, atLimit, false},
        {"readOnlyIni", Plant::ReadOnly, IniBytes(u"[A]\r\n  k=1"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = File(c.name);
        const std::u16string path = Path(c.name);
        PlantAt(root, file, c.kind, c.bytes);
        const fs::file_type before = TypeAt(root, file);
        testing::internal::CaptureStderr();
        EXPECT_EQ(IniSetAsideIfUnreadable(path.c_str()), 1);
        const size_t lines = StderrLines();
        EXPECT_EQ(TypeAt(root, file), c.setAside ? fs::file_type::not_found : before);
        EXPECT_EQ(TypeAt(root, file + ".bad"), c.setAside ? c.asideType : fs::file_type::not_found);
        if (c.setAside && c.asideType == fs::file_type::regular) {
            EXPECT_EQ(root.Get(file + ".bad"), c.bytes);
        }
        EXPECT_EQ(root.Get("outside"), kOutside);
        EXPECT_EQ(lines, c.setAside ? 1u : 0u);
        EXPECT_EQ(IniCreateFile(path.c_str()), 1);
    }
    EXPECT_EQ(IniSetAsideIfUnreadable(u"Disk\\missing.ini"), 1);
    EXPECT_EQ(IniSetAsideIfUnreadable(nullptr), 0);
}

TEST(IniSetAsideTest, EarlierSetAsideFilesAreKept) {
    TestDeviceRoot root;
    root.MakeDir("Disk");
    for (const std::string bytes : {"first", "second", "third"}) {
        root.Put("Disk/n.ini", bytes);
        EXPECT_EQ(IniSetAsideIfUnreadable(u"Disk\\n.ini"), 1);
    }
    EXPECT_FALSE(root.Exists("Disk/n.ini"));
    EXPECT_EQ(root.Get("Disk/n.ini.bad"), "first");
    EXPECT_EQ(root.Get("Disk/n.ini.bad2"), "second");
    EXPECT_EQ(root.Get("Disk/n.ini.bad3"), "third");
}

// A killed writer's plain file at "<name>~" is removed (a hard link only loses that name);
// anything else there is set aside. Nothing there blocks a change or is written through.
TEST_F(PlantedTest, WhatLiesAtTheTemporaryNameNeverBlocksAChange) {
    const struct {
        const char* name;
        Plant kind;
        bool setAside;
        fs::file_type asideType;
    } cases[] = {
        {"leftover", Plant::Bytes, false, fs::file_type::not_found},
        {"hardLink", Plant::HardLink, false, fs::file_type::not_found},
        {"link", Plant::Link, true, fs::file_type::symlink},
        {"folder", Plant::Folder, true, fs::file_type::directory},
        {"readOnly", Plant::ReadOnly, true, fs::file_type::regular},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = File(c.name);
        const std::u16string path = Path(c.name);
        root.Put(file, IniBytes(u"[A]\r\n  k=1"));
        PlantAt(root, file + "~", c.kind, "half a write");
        testing::internal::CaptureStderr();
        EXPECT_EQ(IniWriteString(u"A", u"k", u"2", path.c_str()), 1);
        const size_t lines = StderrLines();
        EXPECT_EQ(root.Get(file), IniBytes(u"[A]\r\n  k=2"));
        EXPECT_EQ(root.Get("outside"), kOutside);
        EXPECT_EQ(TypeAt(root, file + "~"), fs::file_type::not_found);
        EXPECT_EQ(TypeAt(root, file + "~.bad"), c.asideType);
        EXPECT_EQ(lines, c.setAside ? 1u : 0u);
    }
}

// The limit is checked before anything is read, and no change grows a file past it.
TEST(IniSizeLimitTest, FilesOverTheLimitAreNoIniFiles) {
    TestDeviceRoot root;
    root.MakeDir("Disk");
    const std::string head = IniBytes(u"[A]\r\n  k=1\r\n  pad=");
    const std::string full = head + std::string(kIniMaxFileBytes - head.size(), 'p');
    const std::string over = full + "pp";
    LPWSTR out = nullptr;
    root.Put("Disk/a.ini", full);
    EXPECT_EQ(IniReadString(u"A", u"k", &out, u"Disk\\a.ini"), 1);
    delete[] out;
    EXPECT_EQ(IniWriteString(u"A", u"k", u"22", u"Disk\\a.ini"), 0);
    EXPECT_EQ(root.Get("Disk/a.ini"), full);
    EXPECT_EQ(IniWriteString(u"A", u"k", u"", u"Disk\\a.ini"), 1); // shrinks

    root.Put("Disk/a.ini", over);
    EXPECT_EQ(IniReadString(u"A", u"k", &out, u"Disk\\a.ini"), 0);
    EXPECT_EQ(IniWriteString(u"A", u"k", u"", u"Disk\\a.ini"), 0);
    EXPECT_EQ(root.Get("Disk/a.ini"), over);
    EXPECT_EQ(IniCreateFile(u"Disk\\a.ini"), 1);
    EXPECT_EQ(root.Get("Disk/a.ini"), "\xFF\xFE");
}

// Two processes make the same new files and each write its own key into each at once:
// every write that reports success is in the file at the end.
TEST(IniWritersTest, TwoProcessesMakingTheSameFilesLoseNoWrite) {
    constexpr int kFiles = 300;
    TestDeviceRoot root;
    root.MakeDir("Disk");
    CeFaultInjector::SetSyncEnabled(false); // the race is in the names, not the disk
    const auto pathOf = [](int i) { return u"Disk\\f" + U16(std::to_string(i)) + u".ini"; };
    const LPCWSTR keys[] = {u"first", u"second"};
    TestPipe go, results[2];
    TestProcess writers[2];
    for (int w = 0; w < 2; ++w) {
        ASSERT_TRUE(go.Open() && results[w].Open());
        ASSERT_TRUE(writers[w].Fork([&, w] {
            char c;
            go.Read(c);
            for (int i = 0; i < kFiles; ++i) {
                IniCreateFile(pathOf(i).c_str());
                results[w].Write(IniWriteString(u"S", keys[w], u"v", pathOf(i).c_str()) ? '1'
                                                                                        : '0');
            }
            return 0;
        }));
        results[w].CloseWriteEnd();
    }
    go.Write('g');
    go.Write('g');
    std::string written[2];
    for (int w = 0; w < 2; ++w) {
        for (char c; results[w].Read(c);)
            written[w] += c;
        writers[w].Wait();
        ASSERT_EQ(written[w].size(), static_cast<size_t>(kFiles));
    }
    CeFaultInjector::SetSyncEnabled(true);
    int lost = 0, saved = 0;
    for (int i = 0; i < kFiles; ++i) {
        for (int w = 0; w < 2; ++w) {
            if (written[w][static_cast<size_t>(i)] != '1')
                continue;
            ++saved;
            LPWSTR out = nullptr;
            if (!IniReadString(u"S", keys[w], &out, pathOf(i).c_str()))
                ++lost;
            delete[] out;
        }
    }
    EXPECT_EQ(lost, 0) << "of " << saved << " writes that reported success";
    EXPECT_GT(saved, kFiles); // most writes of both went through
}

} // namespace
