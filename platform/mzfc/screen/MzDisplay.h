// The desktop window that shows the phone screen: scaled to fit with its aspect
// kept, HiDPI aware, resizable, F11 or Alt+Enter for full screen; its size, place and
// full screen are kept for the next run (MzWindowFile). Reads the desktop's input and
// hands it to MzScreen in screen pixels. Absent in test mode and without a display.
#pragma once

#include "windows/MzInside.h"

#include "ce/CeTypes.h"
#include "mzfc/MzInputTime.h"

#include <string>

struct SDL_Surface;
union SDL_Event;

class MzDisplay {
public:
    static bool Open(); // needs SDL video initialised
    static void Close();
    static bool IsOpen();

    static void Upload(SDL_Surface* screen, const RECT& area);
    // Shows the uploaded screen; frames closer together than a display refresh are
    // merged (the last one is shown by FlushPending) unless force is set.
    static void Present(bool force);
    static bool FlushPending();

    // Reads every pending desktop event, and those gathered earlier; true when there was one.
    static bool Pump();
    // One desktop event, made at `made`, to the phone screen (test mode queues its own).
    static void Handle(const SDL_Event& e, MzInputTime made);
    static void SetTitle(const std::string& utf8);
    static void Raise();
    static void ToggleFullScreen();
    static void SetTextInput(bool on, const RECT& screenRect);
};
