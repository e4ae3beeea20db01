// The game itself: start, mole steps, hits, misses, game over and the idle timer.
#include "game/CMoleMainWnd.h"

#include "game/GameState.h"
#include "game/MolePaths.h"
#include "game/Settings.h"
#include "highscore/CNameEntryWnd.h"
#include "shell/Shell.h"

namespace {
constexpr int kGameOverSlideSteps = 148;
// The name entry slides up from the bottom edge as it opens and back down as it closes.
constexpr int kSlideUpOnShow = 7;
constexpr int kSlideDownOnHide = 8;
constexpr int kLastSpeedUpMole = 80; // from this mole on the interval stays at 210 ms
constexpr const WCHAR* kStatusFormat = u"已打中%s次 - 最高纪录:%s%s次";
} // namespace

void CMoleMainWnd::StartRound() {
    ApplyFullScreen();

    for (int i = 0; i < kLogoSlideSteps; ++i) {
        logoPicture.MoveBy(0, -2);
        Repaint(logoPicture);
        if (logoPicture.GetPosY() < -100) {
            logoPicture.SetVisible(false);
        }
        if (i < kMenuButtonCount) {
            RemoveUiWin(&menuButtons[i]);
        }
    }
    RepaintBackgrounds();

    gameOverButton.SetPos(125, -112, 460, 112, 0);
    // The previous game's line stays until the first mole step refreshes it.
    statusText.SetPos(10, 10, 700, 30, 0);
    statusText.SetVisible(true);
    AddUiWin(&statusText);

    const WCHAR* hammerPath = FormatText(
        MolePaths::kHammer, static_cast<const WCHAR*>(Int2String(GameState.layoutIndex)));
    for (int i = 0; i < kMaxMisses; ++i) {
        hammerPictures[i].LoadImageW(hammerPath, true);
        hammerPictures[i].SetPos(10 + 25 * i, 10, 24, 30, 0);
        AddUiWin(&hammerPictures[i]);
    }

    GameState.molesShown = 0;
    GameState.hits = 0;
    GameState.inMenu = false;

    SYSTEMTIME now{};
    GetLocalTime(&now);
    srand(now.wHour + now.wMinute + now.wSecond);

    SetTimer(m_hWnd, kMoleTimer, 1000, nullptr);
    KillTimer(m_hWnd, kIdleTimer);
    if (GameState.soundOn) {
        PlayGameSound(MolePaths::kAppearSound);
    }
}

void CMoleMainWnd::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kIdleTimer) {
        if (!IsPhoneLocked()) {
            ApplyFullScreen();
        }
        return;
    }
    if (nIDEvent != kMoleTimer) {
        return;
    }
    NextMole();
    // The mole that has just come up counts as a miss until it is hit.
    GameState.misses = GameState.molesShown - GameState.hits;
    if (GameState.misses >= 1 && GameState.misses <= kMaxMisses) {
        RemoveUiWin(&hammerPictures[kMaxMisses - GameState.misses]);
    }
    if (GameState.misses > kMaxMisses) {
        GameOver();
    }
}

void CMoleMainWnd::NextMole() {
    // One less than the holes: the last hole never gets a mole (see kMolesInPlay).
    const int holes = GameState.holeCount[GameState.layoutIndex] - 1;
    GameState.prevHole = GameState.moleHole;
    do {
        GameState.moleHole = rand() % holes;
    } while (GameState.moleHole == GameState.prevHole);

    moleButtons[GameState.prevHole].SetVisible(false);
    moleButtons[GameState.prevHole].Invalidate();
    moleButtons[GameState.moleHole].SetVisible(true);
    moleButtons[GameState.moleHole].SetEnable(true);
    moleButtons[GameState.moleHole].Invalidate();

    GameState.molesShown += 1;
    UpdateStatusText();
    if (GameState.molesShown < kLastSpeedUpMole) {
        SetTimer(m_hWnd, kMoleTimer, 1000 - 10 * GameState.molesShown, nullptr);
        KillTimer(m_hWnd, kIdleTimer);
    }
}

// The mole of the last tick stays up under the picture but takes no more taps; the
// return to the menu hides it.
void CMoleMainWnd::GameOver() {
    moleButtons[GameState.moleHole].SetEnable(false);
    KillTimer(m_hWnd, kMoleTimer);
    SetTimer(m_hWnd, kIdleTimer, 500, nullptr);
    if (GameState.soundOn) {
        PlayGameSound(MolePaths::kLoseSound);
    }
    AddUiWin(&gameOverButton);
    for (int i = 0; i < kGameOverSlideSteps; ++i) {
        gameOverButton.MoveBy(0, 2);
        Repaint(gameOverButton);
    }
    RepaintBackgrounds();
    if (GameState.hits > GameState.highScore) {
        RunNameEntry();
    }
    // From here, or from the name entry's close, the picture is what the player sees.
    gameOverButton.GuardInput(kStrayTapGuardMs);
    UpdateStatusText();
}

// A cancelled entry leaves the idle timer stopped until the next game over.
void CMoleMainWnd::RunNameEntry() {
    KillTimer(m_hWnd, kIdleTimer);
    CNameEntryWnd entry(GameState.recordHolder, GameState.hits, &SaveRecord);
    const RECT area = MzGetWorkArea();
    entry.Create(area.left, area.top, area.right - area.left, area.bottom - area.top, m_hWnd, 0,
                 WS_POPUP, 0);
    entry.SetAnimateType_Show(kSlideUpOnShow);
    entry.SetAnimateType_Hide(kSlideDownOnHide);
    entry.GuardInput(kStrayTapGuardMs);
    if (entry.DoModal(1) == CNameEntryWnd::kStored) {
        SetTimer(m_hWnd, kIdleTimer, 500, nullptr);
    }
}

// Only the current mole's button is visible, so the index needs no check.
void CMoleMainWnd::HitMole(int /*index*/) {
    moleButtons[GameState.moleHole].SetVisible(false);
    moleButtons[GameState.moleHole].Invalidate();
    GameState.hits += 1;
    if (GameState.soundOn) {
        PlayGameSound(MolePaths::kHitSound);
    }
}

void CMoleMainWnd::UpdateStatusText() {
    const CMzStringW hitsText = Int2String(GameState.hits);
    const CMzStringW bestText = Int2String(GameState.highScore);
    // A long holder name is cut to the buffer, never past it.
    statusText.SetText(FormatText(kStatusFormat, static_cast<const WCHAR*>(hitsText),
                                  static_cast<const WCHAR*>(GameState.recordHolder),
                                  static_cast<const WCHAR*>(bestText)));
    statusText.Invalidate();
}
