// Reading and writing one key of the game's settings file (seven short lines) and of
// a file as large as the library takes (kIniMaxFileBytes), through the whole INI path (find, open,
// read, parse, and for writes the temporary file, flush, rename and folder flush).
#include "IniTestBytes.h"
#include "ce/CeFaultInjector.h"
#include "ce/ce.h"
#include "ini/IniFile.h"
#include "testing/TestDeviceRoot.h"

#include <benchmark/benchmark.h>

namespace {

const char16_t* const kSmall = u"Disk\\small.ini";
const char16_t* const kLarge = u"Disk\\large.ini";

void Fill(const TestDeviceRoot& r) {
    r.Put("Disk/small.ini", IniBytes(SettingsText(u"小儿子", u"5")));
    const std::u16string tail = SettingsText(u"小儿子", u"5");
    std::u16string text;
    for (int i = 0;; ++i) {
        std::string d = std::to_string(i);
        std::u16string section =
            u"[Section" + std::u16string(d.begin(), d.end()) + u"]\r\n  key=value\r\n";
        // room left for the benchmark's scores of two digits
        if (2 + (text.size() + section.size() + tail.size() + 1) * 2 > kIniMaxFileBytes)
            break;
        text += section;
    }
    r.Put("Disk/large.ini", IniBytes(text + tail));
}

// One device root for the run, removed at exit.
void Root() {
    static TestDeviceRoot root;
    static bool filled = (Fill(root), true);
    (void)filled;
}

void ReadKey(benchmark::State& state, const char16_t* path) {
    Root();
    for (auto _ : state) {
        LPWSTR out = nullptr;
        if (!IniReadString(u"Save", u"Score", &out, path))
            state.SkipWithError("read failed");
        delete[] out;
    }
}

void WriteKey(benchmark::State& state, const char16_t* path, bool sync) {
    Root();
    CeFaultInjector::SetSyncEnabled(sync);
    int i = 0;
    for (auto _ : state) {
        if (!IniWriteInt(u"Save", u"Score", ++i % 100, path))
            state.SkipWithError("write failed");
    }
    CeFaultInjector::SetSyncEnabled(true);
}

BENCHMARK_CAPTURE(ReadKey, settings, kSmall);
BENCHMARK_CAPTURE(ReadKey, atLimit, kLarge);
BENCHMARK_CAPTURE(WriteKey, settings, kSmall, true);
BENCHMARK_CAPTURE(WriteKey, atLimit, kLarge, true);
BENCHMARK_CAPTURE(WriteKey, settingsNoFlush, kSmall, false);
BENCHMARK_CAPTURE(WriteKey, atLimitNoFlush, kLarge, false);

} // namespace

BENCHMARK_MAIN();
