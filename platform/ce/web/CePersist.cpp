#include "ce/CePersist.h"

#include <emscripten.h>

namespace {
CePersist::Hook g_hook = nullptr;
}

// The page's start-up code (pre.js) defines the flush: it writes the device root back
// to the browser's storage, one write at a time, and reports a failure once.
// clang-format off
EM_JS(void, ce_persist_device_root, (), {
    if (Module['burrowbopPersist'])
        Module['burrowbopPersist']();
});
// clang-format on

void CePersist::Changed() {
    if (g_hook)
        g_hook();
    else
        ce_persist_device_root();
}

void CePersist::SetHook(Hook hook) {
    g_hook = hook;
}
