// Formatting into a fixed buffer, cut to its capacity without splitting a surrogate
// pair. Shared by the game's text buffer and the name entry's heading.
#pragma once

#include "mzfc/mzfc.h"

#include <cstdarg>

// Formats into buffer (at most its capacity - 1 characters) and returns it.
const WCHAR* FormatInto(CMzStringW& buffer, const WCHAR* format, va_list args);
