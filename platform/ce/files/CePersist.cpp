#include "ce/CePersist.h"

#include <atomic>

namespace {
std::atomic<CePersist::Hook> g_hook{nullptr};
}

void CePersist::Changed() {
    if (Hook hook = g_hook.load())
        hook(); // the host file system keeps the change by itself
}

void CePersist::SetHook(Hook hook) {
    g_hook.store(hook);
}
