// Shared pieces of the game's tests: a hermetic device root with the install folder
// mounted from the repository, test mode, and helpers that drive the main window
// from inside a test script.
#pragma once

// The standard headers come first: the CE layer adds UTF-16 overloads of C library
// names that the standard library's own templates must not see.
#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "IniTestBytes.h"
#include "app/CMoleApp.h"
#include "game/CMoleMainWnd.h"
#include "game/GameState.h"
#include "game/MolePaths.h"
#include "mzfc/MzTest.h"
#include "testing/TestDeviceRoot.h"

#include <memory>

class MoleTestBase : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static constexpr const char* kConfig = "Disk/Programs/Games/burrowbop/config.ini";
    // Host path of the device root and of the settings file in it.
    const std::string& Root() const { return device_->Path(); }
    const TestDeviceRoot& Device() const { return *device_; }
    std::string ConfigHostPath() const { return device_->Host(kConfig); }
    // A file below the device root ("Disk/a.ini"), empty when there is none.
    std::string ReadFile(const std::string& relative) const { return device_->Get(relative); }
    std::string ReadConfig() const { return ReadFile(kConfig); }
    // Writes config.ini as FF FE + UTF-16LE of text (or raw bytes).
    void WriteConfigText(const std::u16string& text) const { WriteConfigBytes(IniBytes(text)); }
    void WriteConfigBytes(const std::string& bytes) const { device_->Put(kConfig, bytes); }
    // Mounts a copy of the repository's install folder without the named files
    // (paths relative to the install folder) instead of the repository's.
    void MountAssetsWithout(const std::vector<std::string>& omitted);

    int Run(std::vector<MzTest::Step> script) { return MzTest::RunApp(std::move(script)); }
    // Rows of a table each start from a fresh device root and application.
    void Restart() {
        TearDown();
        SetUp();
    }

private:
    std::unique_ptr<TestDeviceRoot> device_;
};

// Helpers for use inside script steps.
inline CMoleMainWnd& Wnd() {
    return *theApp.mainWnd;
}
void TapCentre(UiWin& control);
void TapMole();
inline void StartGame() { // taps 开始
    TapCentre(Wnd().menuButtons[0]);
}
// The start tap, `hits` moles hit, then `misses` moles let go (the sixth ends a game).
std::vector<MzTest::Step> Play(int hits, int misses);
inline void Append(std::vector<MzTest::Step>& script, const std::vector<MzTest::Step>& more) {
    script.insert(script.end(), more.begin(), more.end());
}
void AdvanceToNextMole(); // by the mole timer's interval after the moles shown so far
// Lets pass the guard against stray taps that the game-over picture, the menu after it
// and the name entry window keep.
inline void WaitOutGuard() {
    MzTest::Advance(CMoleMainWnd::kStrayTapGuardMs);
}
// Whether the main window lists the control (paints it and gives it taps).
bool IsListed(UiWin& control);
// The name entry window's toolbar: 0 cancel, 1 done.
void TapEntryButton(int index);
bool MessageBoxShown();     // whether a message box is the active window
inline HWND EntryWindow() { // the name entry window, or null
    return FindWindowW(u"ZellikNameWnd", nullptr);
}
// Trace lines that start with any of the prefixes, in order.
std::vector<std::string> TraceWith(std::initializer_list<const char*> prefixes);
inline std::vector<std::string> TraceWith(const std::string& prefix) {
    return TraceWith({prefix.c_str()});
}
std::string Narrow(const WCHAR* text);           // UTF-8 of a UTF-16 text
inline std::string SoundLine(const char* file) { // "sound Disk\...\sounds\<file>"
    return "sound " + Narrow(MolePaths::kInstallFolder) + "\\sounds\\" + file;
}
inline std::string StatusLine() {
    return Narrow(Wnd().statusText.GetText());
}

// A control's rectangle (x, y, width, height), comparable and printable in assertions.
using Rect = std::array<int, 4>;
inline Rect RectOf(UiWin& c) {
    return {c.GetPosX(), c.GetPosY(), c.GetWidth(), c.GetHeight()};
}
