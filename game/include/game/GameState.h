// The program-wide game variables: layout tables, flags, hole indices, counters,
// the record and the shared texts. There is one instance, GameState, reached by name.
#pragma once

#include "mzfc/mzfc.h"

struct GameStateRecord {
    // Indexed by layoutIndex; only entry 0 is ever used.
    static constexpr int holeCount[2] = {10, 18};
    static constexpr int rowCount[2] = {3, 4};

    bool inMenu = true;
    int moleHole = 0;
    int highScore = 0;
    unsigned int usbNotifyMsg = 0;
    int layoutIndex = 0;
    int prevHole = 0;
    bool soundOn = false;
    int molesShown = 0;
    int hits = 0;
    int misses = 0;

    // Declared in the order they must be built (and destroyed in reverse).
    CMzStringW aboutText{1024};
    CMzStringW textBuf{2048};
    CMzStringW recordHolder;
};

extern GameStateRecord GameState;

// Formats into GameState.textBuf, cut to its capacity (never splitting a surrogate
// pair), and returns the buffer.
const WCHAR* FormatText(const WCHAR* format, ...);
