// Start and end of the framework: fonts and pictures, the desktop window (or none
// in test mode and without a display), sound output, and the hooks it puts into the
// CE layer (loop waiter, idle work, window observer, sound backend).
#pragma once

class MzFramework {
public:
    static void Ensure();         // idempotent
    static void EnableTestMode(); // before Ensure: headless, no pacing, no animation
    static bool IsTestMode();
    static void Shutdown(); // after the message loop; windows may outlive it
    static bool IsShutDown();
};
