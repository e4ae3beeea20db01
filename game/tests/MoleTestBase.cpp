#include "MoleTestBase.h"

#include "ce/CePath.h"
#include "ce/CeUtf16.h"
#include "game/MolePaths.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

using MolePaths::kInstallFolder;

void MoleTestBase::SetUp() {
    device_ = std::make_unique<TestDeviceRoot>();
    ASSERT_FALSE(Root().empty());
    CePath::AddMount(kInstallFolder, BURROWBOP_TEST_ASSET_DIR);
    MzTest::Enable();
    MzTest::ClearTrace();
    GameState = GameStateRecord{};
    // A fixed local time gives every test the same mole sequence.
    const SYSTEMTIME start{2026, 12, 0, 6, 10, 20, 30, 0};
    CeClockSetLocalTime(&start);
}

void MoleTestBase::TearDown() {
    // The application object keeps its window until the process ends; tests that run
    // one after another in one process start from a clean slate instead.
    delete theApp.mainWnd;
    theApp.mainWnd = nullptr;
    GameState = GameStateRecord{};
    MzSetWorkAreaProvider(nullptr);
    CeClockSetLocalTime(nullptr);
    device_.reset();
}

void MoleTestBase::MountAssetsWithout(const std::vector<std::string>& omitted) {
    const fs::path copy = fs::path(Root()) / "assets-copy";
    fs::copy(BURROWBOP_TEST_ASSET_DIR, copy, fs::copy_options::recursive);
    for (const std::string& name : omitted) {
        fs::remove(copy / name);
    }
    CePath::ResetForTests();
    CePath::AddMount(kInstallFolder, copy.string());
}

namespace {
// A tap at a pixel of the main window, wherever the work area has put it.
void TapInWindow(int x, int y) {
    RECT r{};
    GetWindowRect(Wnd().m_hWnd, &r);
    MzTest::Tap(r.left + x, r.top + y);
}
} // namespace

void TapCentre(UiWin& control) {
    TapInWindow(control.GetPosX() + control.GetWidth() / 2,
                control.GetPosY() + control.GetHeight() / 2);
}

void TapMole() {
    // Near the left edge: in the menu the middle of holes 4 and 7 lies under a menu button.
    UiButton_Image& mole = Wnd().moleButtons[GameState.moleHole];
    TapInWindow(mole.GetPosX() + 12, mole.GetPosY() + mole.GetHeight() / 2);
}

std::vector<MzTest::Step> Play(int hits, int misses) {
    std::vector<MzTest::Step> steps{StartGame};
    for (int i = 0; i < hits; ++i) {
        steps.push_back(AdvanceToNextMole);
        steps.push_back(TapMole);
    }
    steps.insert(steps.end(), misses, AdvanceToNextMole);
    return steps;
}

void AdvanceToNextMole() {
    const int n = GameState.molesShown;
    MzTest::Advance(n == 0 ? 1000 : n < 80 ? 1000 - 10 * n : 210);
}

std::vector<std::string> TraceWith(std::initializer_list<const char*> prefixes) {
    std::vector<std::string> lines;
    for (const std::string& line : MzTest::Trace()) {
        if (std::any_of(prefixes.begin(), prefixes.end(),
                        [&](const char* p) { return line.rfind(p, 0) == 0; })) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::string Narrow(const WCHAR* text) {
    return CeUtf16::ToUtf8(text);
}

bool IsListed(UiWin& control) {
    const auto& listed = Wnd().Controls();
    return std::find(listed.begin(), listed.end(), &control) != listed.end();
}

void TapEntryButton(int index) {
    // The toolbar at the bottom of the work area is cut into one slot per button.
    const RECT area = MzGetWorkArea();
    const int width = area.right - area.left;
    MzTest::Tap(area.left + width / 4 + index * width / 2, area.bottom - 34);
}

bool MessageBoxShown() {
    CMzWnd* active = MzTest::ActiveWindow();
    return active != nullptr && std::u16string(active->GetWndClassName()) == u"MzMessageBoxWnd";
}
