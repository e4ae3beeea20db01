// The desktop's mouse pointer over the program's window. The phone has no pointer; a
// program that wants a picture of its own for it on the desktop names one here.
#pragma once

#include "ce/CeTypes.h"

// The picture (a PNG of the install folder) the pointer shows over the window: the
// normal one, or with pressed the one shown while a mouse button is held. (hotX, hotY)
// is the pixel of the picture that points. Without a normal picture the desktop's own
// pointer shows; over other windows it always does, and touch shows none. FALSE, and
// the pointer as it was, when the picture cannot be loaded.
BOOL MzSetPointerImage(LPCWSTR path, bool pressed, int hotX, int hotY);
