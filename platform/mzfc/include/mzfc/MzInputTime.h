// When a piece of input was made, or when something appeared on screen: the UI clock's
// microseconds, then the order of the moments of one instant (the test clock stands
// still while a whole slide runs, and input made during it still comes before what
// appears after it).
#pragma once

#include <compare>
#include <cstdint>

struct MzInputTime {
    int64_t us = 0;
    uint64_t order = 0;
    auto operator<=>(const MzInputTime&) const = default;

    // The moment ms after t, still after everything up to t.
    static MzInputTime After(const MzInputTime& t, uint32_t ms) {
        return MzInputTime{t.us + static_cast<int64_t>(ms) * 1000, t.order};
    }
};
