// Debug output: on the desktop, one line on stderr ("<program>: <text>") for a failure
// or repair the player would not see otherwise. Control characters are shown escaped
// (as \x1b), so no text can steer the terminal. A line already written in this run is
// not repeated.
#pragma once

#include "ce/CeTypes.h"

void OutputDebugStringW(LPCWSTR lpOutputString);
