// A process writing the settings keys in a loop is killed at random moments; after
// every kill the file is exactly one of the states the writer passes through.
#include "IniFile.h"
#include "IniTestBytes.h"
#include "ce/CeFaultInjector.h"
#include "ce/ce.h"
#include "testing/TestDeviceRoot.h"
#include "testing/TestPipe.h"
#include "testing/TestProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

namespace {

const char16_t* const kPath = u"Disk\\Programs\\Games\\burrowbop\\config.ini";

std::u16string U16(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

std::u16string NameFor(int i) {
    return U16("player" + std::to_string(i));
}

// Tells the parent after the first completed write, then goes on until killed.
[[noreturn]] void WriteForever(TestPipe& started) {
    for (int i = 1;; ++i) {
        IniWriteString(u"Save", u"Name", NameFor(i).c_str(), kPath);
        if (i == 1) {
            started.Write('s');
            started.CloseWriteEnd();
        }
        IniWriteInt(u"Save", u"Score", i, kPath);
        IniWriteString(u"Config", u"isSoundOn", i % 2 ? u"1" : u"0", kPath);
    }
}

TEST(IniDurability, KilledWriterLeavesOldOrNewFile) {
    TestDeviceRoot root;
    // A killed process, unlike a power cut, loses nothing the kernel already has: the
    // flushes only slow the writer down here.
    CeFaultInjector::SetSyncEnabled(false);
    root.MakeDir("Disk/Programs/Games/burrowbop");
    ASSERT_EQ(IniCreateFile(kPath), 1);
    IniWriteString(u"Config", u"isSoundOn", u"0", kPath);
    IniWriteString(u"Zellik", u"Version", u"2", kPath);
    IniWriteString(u"Save", u"Name", NameFor(0).c_str(), kPath);
    IniWriteInt(u"Save", u"Score", 0, kPath);

    std::mt19937 random(12345);
    int changed = 0;
    const int kKills = 40;
    for (int k = 0; k < kKills; ++k) {
        TestPipe started;
        ASSERT_TRUE(started.Open());
        TestProcess writer;
        ASSERT_TRUE(writer.Fork([&]() -> int {
            started.CloseReadEnd();
            WriteForever(started);
        }));
        started.CloseWriteEnd();
        char c;
        ASSERT_TRUE(started.Read(c));
        started.CloseReadEnd();
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
        writer.Kill();
        writer.Wait();

        const std::string bytes = root.Get("Disk/Programs/Games/burrowbop/config.ini");
        int score = -1;
        ASSERT_EQ(IniReadInt(u"Save", u"Score", &score, kPath), 1) << Printable(bytes);
        if (score > 0)
            ++changed;
        // Any state the writer passes through: Name is ahead of Score by at most one,
        // the sound switch follows the score.
        bool matches = false;
        for (int name : {score, score + 1}) { // Name is written first
            for (const char16_t* sound : {u"0", u"1"}) {
                std::u16string text = SettingsText(NameFor(name), U16(std::to_string(score)));
                text.replace(text.find(u"isSoundOn=0") + 10, 1, sound);
                matches = matches || bytes == IniBytes(text);
            }
        }
        ASSERT_TRUE(matches) << "after kill " << k << ": " << Printable(bytes);
        // Start every round from a known state so that kills hit all steps of a write.
        IniWriteString(u"Save", u"Name", NameFor(0).c_str(), kPath);
        IniWriteInt(u"Save", u"Score", 0, kPath);
        IniWriteString(u"Config", u"isSoundOn", u"0", kPath);
    }
    CeFaultInjector::SetSyncEnabled(true);
    RecordProperty("killsAfterScoreWrites", changed);
}

} // namespace
