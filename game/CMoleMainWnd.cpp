// Construction of the title screen, the hole layout, the full-screen placement and the
// quit on the USB notification message.
#include "game/CMoleMainWnd.h"

#include "game/GameState.h"
#include "game/MolePaths.h"
#include "game/Settings.h"
#include "ini/IniFile.h"
#include "shell/Shell.h"

namespace {
// The version comes from the build (the CMake project version).
#define MOLE_WIDEN2(text) u##text
#define MOLE_WIDEN(text) MOLE_WIDEN2(text)
constexpr const WCHAR* kAboutText =
    u"打地鼠 / Burrowbop\n"
    u"版本 " MOLE_WIDEN(BURROWBOP_VERSION) u"\n"
                                           u"地鼠一冒头就点它，跑掉五只游戏结束。\n"
                                           u"冒着头的那只已先扣了一把锤子。\n"
                                           u"键盘：小键盘或 Q W E / A S D / Z X C 对应九个洞，"
                                           u"空格或回车开始。\n"
                                           u"© 2026 Burrowbop 制作组";

// The decimal layout index that every numbered image name carries.
CMzStringW LayoutText() {
    return Int2String(GameState.layoutIndex);
}
} // namespace

const WCHAR* CMoleMainWnd::GetWndClassName() {
    return u"MoleMainWnd";
}

// Members go in the reverse of their declaration order, then the framework window.
CMoleMainWnd::~CMoleMainWnd() = default;

LRESULT CMoleMainWnd::MzDefWndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == GameState.usbNotifyMsg && wParam == 0) {
        PostQuitMessage(0);
    }
    return CMzWndEx::MzDefWndProc(message, wParam, lParam);
}

BOOL CMoleMainWnd::OnInitDialog() {
    if (!CMzWndEx::OnInitDialog()) {
        return 0;
    }
    GameState.usbNotifyMsg = RegisterUsbNotifyMessage();
    MzBeginWaitDlg(m_hWnd, nullptr, true);
    SetWindowTextW(u"Burrowbop");
    GameState.aboutText = kAboutText;
    LoadSettings();

    SetUpBackground(bg1Picture, -60, 288, MolePaths::kBg1);
    SetUpBackground(bg2Picture, 150, 518, MolePaths::kBg2);
    SetUpBackground(bg3Picture, 392, 126, MolePaths::kBg3);
    SetUpHolesAndMoles();
    SetUpSoundButton();

    logoPicture.SetPos(192, 56, 400, 100, 0);
    logoPicture.SetPaintMode(kStretchPaint);
    logoPicture.LoadImageW(FormatText(MolePaths::kLogo), true);
    AddUiWin(&logoPicture);

    gameOverImage.LoadImageW(FormatText(MolePaths::kGameOver), true, true, true);
    gameOverButton.SetID(kGameOverId);
    gameOverButton.SetPos(125, -112, 460, 112, 0); // above the top edge until the game ends
    gameOverButton.SetButtonType(0);
    gameOverButton.SetImage_Normal(&gameOverImage);
    gameOverButton.SetImage_Pressed(&gameOverImage);
    gameOverButton.SetMode(0);

    SetUpMenu();
    BindKeys();
    MzSetPointerImage(FormatText(MolePaths::kPointer1), false, MolePaths::kPointerHotX,
                      MolePaths::kPointerHotY);
    MzSetPointerImage(FormatText(MolePaths::kPointer2), true, MolePaths::kPointerHotX,
                      MolePaths::kPointerHotY);
    MzEndWaitDlg();

    if (GameState.soundOn) {
        PlayGameSound(MolePaths::kTitleSound);
    }
    ApplyFullScreen();
    SetTimer(m_hWnd, kIdleTimer, 500, nullptr);
    return 1;
}

void CMoleMainWnd::SetUpBackground(UiPicture& picture, int y, int height, const WCHAR* pathFormat) {
    picture.SetPos(0, y, 720, height, 0);
    picture.SetPaintMode(kStretchPaint);
    picture.LoadImageW(FormatText(pathFormat, static_cast<const WCHAR*>(LayoutText())), true);
    AddUiWin(&picture);
}

void CMoleMainWnd::SetUpHolesAndMoles() {
    const int holes = GameState.holeCount[GameState.layoutIndex];
    // One path for all holes.
    const WCHAR* holePath = FormatText(MolePaths::kHole, static_cast<const WCHAR*>(LayoutText()));
    for (int k = 0; k < holes; ++k) {
        holePictures[k].SetPaintMode(kStretchPaint);
        holePictures[k].LoadImageW(holePath, true);
        holePictures[k].SetPictureFlag(true);
        AddUiWin(&holePictures[k]);
    }
    LayoutHoles();

    mole1Image.LoadImageW(FormatText(MolePaths::kMole1, static_cast<const WCHAR*>(LayoutText())),
                          true, true, true);
    mole2Image.LoadImageW(FormatText(MolePaths::kMole2, static_cast<const WCHAR*>(LayoutText())),
                          true, true, true);
    for (int k = 0; k < holes; ++k) {
        UiButton_Image& mole = moleButtons[k];
        mole.SetID(kMoleIdBase + k);
        mole.SetButtonType(0);
        mole.SetImage_Normal(&mole1Image); // both images shared by every mole
        mole.SetImage_Pressed(&mole2Image);
        mole.SetMode(0);
        mole.SetCommandOnPress(true); // a hit at the press: it may move before the release
        mole.SetPaintMode(kStretchPaint);
        mole.SetVisible(false);
        AddUiWin(&mole);
    }
}

// The switch only exists when the game's sounds are installed.
void CMoleMainWnd::SetUpSoundButton() {
    if (!FileExists(FormatText(MolePaths::kLoseSound))) {
        return;
    }
    mute2Image.LoadImageW(FormatText(MolePaths::kMute2, static_cast<const WCHAR*>(LayoutText())),
                          true, true, true);
    mute1Image.LoadImageW(FormatText(MolePaths::kMute1, static_cast<const WCHAR*>(LayoutText())),
                          true, true, true);
    soundButton.SetID(kSoundId);
    soundButton.SetPos(670, 0, 50, 50, 0);
    soundButton.SetButtonType(0);
    soundButton.SetImage_Normal(&mute2Image);
    soundButton.SetImage_Pressed(&mute1Image);
    soundButton.SetMode(0);
    soundButton.SetButtonMode(1);
    AddUiWin(&soundButton);
    soundButton.SetState(GameState.soundOn ? 1 : 0);
}

void CMoleMainWnd::SetUpMenu() {
    for (int i = 0; i < kMenuButtonCount; ++i) {
        for (int j = 1; j <= 2; ++j) {
            menuImages[i][j].LoadImageW(FormatText(MolePaths::kMenu,
                                                   static_cast<const WCHAR*>(Int2String(i)),
                                                   static_cast<const WCHAR*>(Int2String(j))),
                                        true, true, true);
        }
        UiButton_Image& button = menuButtons[i];
        button.SetPos(310, 225 + 60 * i, 108, 52, 0);
        button.SetPaintMode(kStretchPaint);
        button.SetID(kStartId + i);
        button.SetButtonType(0);
        button.SetImage_Normal(&menuImages[i][1]);
        button.SetImage_Pressed(&menuImages[i][2]);
        button.SetMode(0);
        AddUiWin(&button);
    }
}

// On a desktop keyboard the keypad's 3 x 3 block and the letters Q W E / A S D / Z X C
// lie over the holes as they stand; Space and Enter start a game and leave the
// game-over picture. Each key taps its control as a finger would.
void CMoleMainWnd::BindKeys() {
    namespace K = MzKeyPosition;
    static constexpr int kPadKeys[kMolesInPlay] = {K::kPad7, K::kPad8, K::kPad9, K::kPad4, K::kPad5,
                                                   K::kPad6, K::kPad1, K::kPad2, K::kPad3};
    static constexpr int kLetterKeys[kMolesInPlay] = {K::kQ, K::kW, K::kE, K::kA, K::kS,
                                                      K::kD, K::kZ, K::kX, K::kC};
    for (int k = 0; k < kMolesInPlay; ++k) {
        BindKey(kPadKeys[k], &moleButtons[k]);
        BindKey(kLetterKeys[k], &moleButtons[k]);
    }
    for (int key : {K::kSpace, K::kEnter, K::kPadEnter}) {
        BindKey(key, &menuButtons[0]);
        BindKey(key, &gameOverButton);
    }
}

// Rows further down are lower, larger and spread wider; hole k = 3 * row + column.
void CMoleMainWnd::LayoutHoles() {
    const int rows = GameState.rowCount[GameState.layoutIndex];
    for (int r = 0; r < rows && 3 * r + 2 < GameState.holeCount[GameState.layoutIndex]; ++r) {
        for (int c = 0; c < 3; ++c) {
            const int k = 3 * r + c;
            const int x = 175 + c * (120 + 32 * r) - (180 * r) / 3;
            const int y = 120 + r * (60 + 15 * r);
            const int width = 135 + 32 * r;
            const int height = static_cast<int>((80 + 20 * r) * 1.2);
            holePictures[k].SetPos(x, y, width, height, 0);
            holePictures[k].Invalidate();
            moleButtons[k].SetPos(x, y, width, height, 0);
            moleButtons[k].Invalidate();
        }
    }
}

void CMoleMainWnd::ApplyFullScreen() {
    NotifyShellMainWnd(ShellProtocol::kTakeScreenW, ShellProtocol::kTakeScreenL);
    const RECT area = MzGetWorkArea();
    SetWindowPos(m_hWnd, area.left, area.top, area.right - area.left, area.bottom - area.top, 0);
}

void CMoleMainWnd::Repaint(UiWin& control) {
    control.Invalidate();
    control.Update();
}

void CMoleMainWnd::RepaintBackgrounds() {
    Repaint(bg1Picture);
    Repaint(bg2Picture);
    Repaint(bg3Picture);
}

void CMoleMainWnd::PlayGameSound(const WCHAR* path) {
    PlaySoundW(path, GetModuleHandleW(nullptr), SND_ASYNC);
}
