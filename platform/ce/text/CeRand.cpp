// The phone's C runtime generator, in place of the host's for the whole process, so
// that a seed gives the same sequence as on the phone.
#include "ce/CeCrt.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>

namespace {
std::atomic<uint32_t> state{1};
}

extern "C" {

// Declared noexcept or not, as the host C library declares them.
void srand(unsigned int seed) noexcept(noexcept(::srand(0))) {
    state.store(seed, std::memory_order_relaxed);
}

int rand() noexcept(noexcept(::rand())) {
    uint32_t s = state.load(std::memory_order_relaxed);
    uint32_t next;
    do {
        next = s * 214013u + 2531011u;
    } while (!state.compare_exchange_weak(s, next, std::memory_order_relaxed));
    return static_cast<int>((next >> 16) & 0x7FFF);
}
}
