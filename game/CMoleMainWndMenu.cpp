// The commands of the title menu, the sound switch and the return to the menu.
#include "game/CMoleMainWnd.h"

#include "game/GameState.h"
#include "game/MolePaths.h"
#include "game/Settings.h"
#include "shell/Shell.h"

void CMoleMainWnd::OnUiCommand(WPARAM wParam, LPARAM /*lParam*/) {
    const int id = static_cast<int>(wParam & 0xFFFF);
    if (id >= kMoleIdBase && id < kMoleIdBase + kMolesInPlay) {
        HitMole(id - kMoleIdBase);
        return;
    }
    switch (id) {
    case kStartId:
        StartRound();
        break;
    case kAboutId:
        MzMessageBoxEx(m_hWnd, GameState.aboutText, nullptr, 0, 0);
        break;
    case kExitId:
        Quit();
        break;
    case kSoundId:
        ToggleSound();
        break;
    case kGameOverId:
        ApplyFullScreen();
        ShowMenu();
        break;
    default:
        break;
    }
}

// The mute sound plays at exit whether sound is on or not; nothing is written.
void CMoleMainWnd::Quit() {
    NotifyShellMainWnd(ShellProtocol::kGiveBackW, ShellProtocol::kGiveBackL);
    const RECT area = MzGetWorkArea();
    SetWindowPos(m_hWnd, area.left, area.top, area.right - area.left, area.bottom - area.top, 0);
    PlayGameSound(MolePaths::kMuteSound);
    PostQuitMessage(0);
}

// The switch writes at once; a failed write leaves the new value for this run only.
void CMoleMainWnd::ToggleSound() {
    if (GameState.soundOn) {
        GameState.soundOn = false;
        PlayGameSound(MolePaths::kMuteSound);
        SaveSoundOn(false);
    } else {
        GameState.soundOn = true;
        SaveSoundOn(true);
        if (GameState.inMenu) {
            PlayGameSound(MolePaths::kTitleSound);
        }
    }
}

// The timers stay as the game over left them. The mole of the last tick, up but out of
// play under the game-over picture, goes; the next game's first mole still avoids its
// hole.
void CMoleMainWnd::ShowMenu() {
    moleButtons[GameState.moleHole].SetVisible(false);
    moleButtons[GameState.moleHole].Invalidate();
    statusText.SetVisible(false);
    statusText.Invalidate();
    RemoveUiWin(&gameOverButton);
    logoPicture.SetVisible(true);
    for (int i = 0; i < kLogoSlideSteps; ++i) {
        logoPicture.MoveBy(0, 2);
        Repaint(logoPicture);
        if (i < kMaxMisses) {
            RemoveUiWin(&hammerPictures[i]);
        }
        if (i < kMenuButtonCount) {
            AddUiWin(&menuButtons[i]);
            menuButtons[i].Invalidate();
        }
    }
    RepaintBackgrounds();
    for (UiButton_Image& button : menuButtons) {
        button.GuardInput(kStrayTapGuardMs); // the taps that closed the picture go no further
    }
    GameState.inMenu = true;
    if (GameState.soundOn) {
        PlayGameSound(MolePaths::kTitleSound);
    }
}
