// Start and end of the framework: fonts and pictures, the display (none in test
// mode), sound output, and the hooks it puts into the CE layer (loop waiter, input
// and idle work, window observer, sound backend). The desktop window itself opens
// only when the program first shows a window, so a copy that ends in Init maps none.
#pragma once

#include "windows/MzInside.h"

class MzFramework {
public:
    // Idempotent. False, after one line on stderr, when there is no display to show
    // the program on (the offscreen and dummy drivers only when SDL_VIDEODRIVER asks).
    static bool Ensure();
    static bool HasVideo();       // SDL video is up: the desktop window can open
    static void EnableTestMode(); // before Ensure: headless, no pacing, no animation
    static bool IsTestMode();
    static void Shutdown(); // after the message loop; windows may outlive it
    static bool IsShutDown();
    // The window minimized or hidden (the page's tab in the background): the window
    // timers stand still until it is shown again.
    static void SetHidden(bool hidden);
};
