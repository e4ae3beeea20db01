// Registered window message numbers, shared by the processes of one device root:
// a table file under <device root>/.ce/ gives each name (without regard to case) the
// number 0xC000.. in the order the names were first registered.
#pragma once

#include "core/CeInside.h"

#include "ce/CeTypes.h"

#include <string>

class CeMessageNames {
public:
    static constexpr UINT kFirst = 0xC000;
    static constexpr UINT kLast = 0xFFFF;
    // 0 when the name is empty or the table cannot be read or written or is full.
    static UINT Register(const std::u16string& name);
};
