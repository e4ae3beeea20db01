// Files of the install folder. A "%s" takes the decimal layout index; the menu
// name takes the button index and then the image index.
#pragma once

#include "ce/ce.h"

namespace MolePaths {
inline constexpr const WCHAR* kBg1 = u"Disk\\Programs\\Games\\burrowbop\\images\\bg1-%s.png";
inline constexpr const WCHAR* kBg2 = u"Disk\\Programs\\Games\\burrowbop\\images\\bg2-%s.png";
inline constexpr const WCHAR* kBg3 = u"Disk\\Programs\\Games\\burrowbop\\images\\bg3-%s.png";
inline constexpr const WCHAR* kHole = u"Disk\\Programs\\Games\\burrowbop\\images\\hole-%s.png";
inline constexpr const WCHAR* kMole1 = u"Disk\\Programs\\Games\\burrowbop\\images\\mole1-%s.png";
inline constexpr const WCHAR* kMole2 = u"Disk\\Programs\\Games\\burrowbop\\images\\mole2-%s.png";
inline constexpr const WCHAR* kMute2 = u"Disk\\Programs\\Games\\burrowbop\\images\\mute2-%s.png";
inline constexpr const WCHAR* kMute1 = u"Disk\\Programs\\Games\\burrowbop\\images\\mute1-%s.png";
inline constexpr const WCHAR* kLogo = u"Disk\\Programs\\Games\\burrowbop\\images\\logo.png";
inline constexpr const WCHAR* kGameOver = u"Disk\\Programs\\Games\\burrowbop\\images\\gameover.png";
inline constexpr const WCHAR* kMenu = u"Disk\\Programs\\Games\\burrowbop\\images\\menu%s%s.png";
inline constexpr const WCHAR* kHammer = u"Disk\\Programs\\Games\\burrowbop\\images\\hammer-%s.png";
// The desktop's mouse pointer: the mallet held ready and swung. The hot spot is where
// the swung mallet's cap lands in both pictures (tools/artgen draws them so).
inline constexpr const WCHAR* kPointer1 = u"Disk\\Programs\\Games\\burrowbop\\images\\pointer1.png";
inline constexpr const WCHAR* kPointer2 = u"Disk\\Programs\\Games\\burrowbop\\images\\pointer2.png";
inline constexpr int kPointerHotX = 6;
inline constexpr int kPointerHotY = 29;

inline constexpr const WCHAR* kTitleSound = u"Disk\\Programs\\Games\\burrowbop\\sounds\\title.wav";
inline constexpr const WCHAR* kLoseSound = u"Disk\\Programs\\Games\\burrowbop\\sounds\\lose.wav";
inline constexpr const WCHAR* kAppearSound =
    u"Disk\\Programs\\Games\\burrowbop\\sounds\\appear.wav";
inline constexpr const WCHAR* kHitSound = u"Disk\\Programs\\Games\\burrowbop\\sounds\\hit.wav";
inline constexpr const WCHAR* kMuteSound = u"Disk\\Programs\\Games\\burrowbop\\sounds\\mute.wav";
} // namespace MolePaths
