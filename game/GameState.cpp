#include "game/GameState.h"

#include <cstdarg>

// Built before every other static object of the program (the application object
// included) and destroyed after them, so the main window never outlives its strings.
__attribute__((init_priority(200))) GameStateRecord GameState;

const WCHAR* FormatText(const WCHAR* format, ...) {
    WCHAR* buf = GameState.textBuf.C_Str();
    const int capacity = GameState.textBuf.Capacity();
    va_list args;
    va_start(args, format);
    const int written = wvnsprintfW(buf, capacity, format, args);
    va_end(args);
    // A cut that lands between the halves of a surrogate pair drops the lone half.
    if (written > 0 && written == capacity - 1 && buf[written - 1] >= 0xD800 &&
        buf[written - 1] <= 0xDBFF) {
        buf[written - 1] = 0;
    }
    return buf;
}
