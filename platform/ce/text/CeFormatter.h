// The formatter behind wsprintfW and wnsprintfW: %s (wide string), %c (wide char),
// %d, %i, %u, %x, %X, %% with flags '-', '0', a width ('*' from the arguments) and a
// precision (for %s the most characters taken, for numbers the fewest digits). The
// size prefixes l and h are accepted (LONG and DWORD are 32-bit, as on the phone).
// An unknown conversion is copied as it stands.
#pragma once

#include "core/CeInside.h"

#include "ce/CeTypes.h"

#include <cstdarg>

class CeFormatter {
public:
    // Writes at most capacity - 1 characters and a terminator into dest (nothing when
    // capacity is 0); returns the characters written without the terminator.
    static int Format(LPWSTR dest, size_t capacity, LPCWSTR format, va_list args);
};
