#include "game/GameState.h"

#include "text/TextFormat.h"

#include <cstdarg>

// Built before every other static object of the program (the application object
// included) and destroyed after them, so the main window never outlives its strings.
__attribute__((init_priority(200))) GameStateRecord GameState;

const WCHAR* FormatText(const WCHAR* format, ...) {
    va_list args;
    va_start(args, format);
    const WCHAR* text = FormatInto(GameState.textBuf, format, args);
    va_end(args);
    return text;
}
