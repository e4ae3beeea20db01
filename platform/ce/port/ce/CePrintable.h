// Names and titles that came from the device root or from another process, made
// safe to print on a terminal: every control character (C0, DEL, C1) and every byte
// that is not UTF-8 is written as an escape (\x1b, \u009b), so that a planted name
// can neither move the cursor nor retitle the window. Everything else is kept.
#pragma once

#include "ce/CePort.h"

#include <string>
#include <string_view>

class CePrintable {
public:
    static std::string Escape(std::string_view utf8);
    static std::string Escape(std::u16string_view text);
};
