#include "windows/MzHost.h"

#include <emscripten.h>

// Module.burrowbop.framesPresented and .lastPresentMs: when the first title frame was
// shown, and how soon a tap gave a frame.
EM_JS(void, mz_host_frame_presented, (), {
    var b = Module['burrowbop'] || (Module['burrowbop'] = {'framesPresented' : 0});
    b['framesPresented'] = (b['framesPresented'] || 0) + 1;
    b['lastPresentMs'] = performance.now();
});

EM_JS(void, mz_host_program_ended, (int code), {
    if (Module['onGameExit'])
        Module['onGameExit'](code);
});

void MzHost::FramePresented() {
    mz_host_frame_presented();
}

void MzHost::ProgramEnded(int code) {
    mz_host_program_ended(code);
}
