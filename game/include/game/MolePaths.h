// Files of the install folder. A "%s" takes the decimal layout index; the menu
// name takes the button index and then the image index.
#pragma once

#include "ce/ce.h"
#include "game/MoleFolder.h"

#define MOLE_IMAGE(name) MOLE_FOLDER u"\\images\\" name
#define MOLE_SOUND(name) MOLE_FOLDER u"\\sounds\\" name

namespace MolePaths {
inline constexpr const WCHAR* kInstallFolder = MOLE_FOLDER;

inline constexpr const WCHAR* kBg1 = MOLE_IMAGE(u"bg1-%s.png");
inline constexpr const WCHAR* kBg2 = MOLE_IMAGE(u"bg2-%s.png");
inline constexpr const WCHAR* kBg3 = MOLE_IMAGE(u"bg3-%s.png");
inline constexpr const WCHAR* kHole = MOLE_IMAGE(u"hole-%s.png");
inline constexpr const WCHAR* kMole1 = MOLE_IMAGE(u"mole1-%s.png");
inline constexpr const WCHAR* kMole2 = MOLE_IMAGE(u"mole2-%s.png");
inline constexpr const WCHAR* kMute2 = MOLE_IMAGE(u"mute2-%s.png");
inline constexpr const WCHAR* kMute1 = MOLE_IMAGE(u"mute1-%s.png");
inline constexpr const WCHAR* kLogo = MOLE_IMAGE(u"logo.png");
inline constexpr const WCHAR* kGameOver = MOLE_IMAGE(u"gameover.png");
inline constexpr const WCHAR* kMenu = MOLE_IMAGE(u"menu%s%s.png");
inline constexpr const WCHAR* kHammer = MOLE_IMAGE(u"hammer-%s.png");
// The desktop's mouse pointer: the mallet held ready and swung. The hot spot is where
// the swung mallet's cap lands in both pictures (tools/artgen draws them so).
inline constexpr const WCHAR* kPointer1 = MOLE_IMAGE(u"pointer1.png");
inline constexpr const WCHAR* kPointer2 = MOLE_IMAGE(u"pointer2.png");
inline constexpr int kPointerHotX = 6;
inline constexpr int kPointerHotY = 29;

inline constexpr const WCHAR* kTitleSound = MOLE_SOUND(u"title.wav");
inline constexpr const WCHAR* kLoseSound = MOLE_SOUND(u"lose.wav");
inline constexpr const WCHAR* kAppearSound = MOLE_SOUND(u"appear.wav");
inline constexpr const WCHAR* kHitSound = MOLE_SOUND(u"hit.wav");
inline constexpr const WCHAR* kMuteSound = MOLE_SOUND(u"mute.wav");
} // namespace MolePaths

#undef MOLE_IMAGE
#undef MOLE_SOUND
