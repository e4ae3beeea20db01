// The game's one full-screen window: every picture and button of the title menu and
// of the game lives inside it, so the window and its controls are one allocation.
#pragma once

#include "mzfc/mzfc.h"

class CMoleMainWnd : public CMzWndEx {
public:
    static constexpr UINT_PTR kMoleTimer = 10;
    static constexpr UINT_PTR kIdleTimer = 11;

    static constexpr int kHoleSlots = 20;
    // Ten mole buttons are built but the layout places nine (three rows of three) and
    // moles only come up in holes 0 to holeCount - 2: the tenth is never seen.
    static constexpr int kMolesInPlay = 9;
    // One hammer each. The mole that is up counts as a miss until it is hit, so the sixth
    // miss, the fifth mole that got away, ends the game.
    static constexpr int kMaxMisses = 5;
    static constexpr int kMenuButtonCount = 3;
    static constexpr int kMoleIdBase = 200;
    static constexpr int kStartId = 250;
    static constexpr int kAboutId = 251;
    static constexpr int kExitId = 252;
    static constexpr int kSoundId = 260;
    static constexpr int kGameOverId = 261;
    // A player still hammering holes as a game ends: the game-over picture, the menu
    // after it and the name entry window take no tap made within this long after they
    // appear (nor any made before).
    static constexpr DWORD kStrayTapGuardMs = 400;

    CMoleMainWnd() = default;
    CMoleMainWnd(const CMoleMainWnd&) = delete;
    CMoleMainWnd& operator=(const CMoleMainWnd&) = delete;

    // Overrides, in the framework's slot order.
    const WCHAR* GetWndClassName() override;
    ~CMoleMainWnd() override;
    LRESULT MzDefWndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnUiCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;

    void LayoutHoles();
    void ApplyFullScreen();

    void StartRound();
    void NextMole();
    void HitMole(int index);
    void UpdateStatusText();
    void ShowMenu();

    // Members in the order the window builds and releases them.
    UiPicture bg1Picture;
    UiPicture bg2Picture;
    UiPicture bg3Picture;
    UiPicture holePictures[kHoleSlots];
    ImagingHelper mole1Image;
    ImagingHelper mole2Image;
    UiButton_Image moleButtons[kHoleSlots];
    UiStatic statusText;
    UiPicture logoPicture;
    ImagingHelper menuImages[kMenuButtonCount][3]; // [button][1 normal, 2 pressed]
    UiButton_Image menuButtons[kMenuButtonCount];
    ImagingHelper mute2Image;
    ImagingHelper mute1Image;
    UiButton_Image soundButton;
    ImagingHelper gameOverImage;
    UiButton_Image gameOverButton;
    UiPicture hammerPictures[kMaxMisses];

private:
    // Frames of the logo's slide out at the start and back in at the menu, 2 px each.
    static constexpr int kLogoSlideSteps = 200;
    // The controls' paint mode that stretches a picture over the control's rectangle.
    static constexpr int kStretchPaint = 1;

    void SetUpBackground(UiPicture& picture, int y, int height, const WCHAR* pathFormat);
    void SetUpHolesAndMoles();
    void SetUpSoundButton();
    void SetUpMenu();
    void BindKeys();
    void GameOver();
    void RunNameEntry();
    void ToggleSound();
    void Quit();
    void RepaintBackgrounds();

    // Repaints a control at once.
    static void Repaint(UiWin& control);
    // Plays an install-folder sound, cutting off the one playing.
    static void PlayGameSound(const WCHAR* path);
};
