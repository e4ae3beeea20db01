// What the framework tells the host around it. A desktop window needs nothing told;
// a page (the build picks its source) counts the presented frames for its tests and
// benchmark, shows its own screen once the program has ended, and raises a phone's
// keyboard only while an edit field has the focus.
#pragma once

#include "windows/MzInside.h"

class MzHost {
public:
    static void FramePresented();
    static void ProgramEnded(int code); // after the framework has shut down
    // An edit field took or lost the keyboard: a page shows a phone's keyboard then.
    static void TextInput(bool on);
    // True where the host itself answers the full-screen keys (a page, through the
    // browser's own full screen, which only its key handler may ask for).
    static bool OwnsFullScreen();
    // True where the host scales the phone screen to its place itself (a page, by its
    // style, for free): the window then keeps the screen's own size.
    static bool ScalesTheScreen();
};
