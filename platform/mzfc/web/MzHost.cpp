#include "windows/MzHost.h"

#include <emscripten.h>

// Module.burrowbop.framesPresented and .lastPresentMs: when the first title frame was
// shown, and how soon a tap gave a frame.
// clang-format off
EM_JS(void, mz_host_frame_presented, (), {
    var b = Module['burrowbop'] || (Module['burrowbop'] = {'framesPresented' : 0});
    b['framesPresented'] = (b['framesPresented'] || 0) + 1;
    b['lastPresentMs'] = performance.now();
    if (b['framesPresented'] === 1 && Module['burrowbopLoadFonts'])
        setTimeout(
            function() { Module['burrowbopLoadFonts'](false); }, 0); // off the title's path
});
// clang-format on

// clang-format off
EM_JS(void, mz_host_program_ended, (int code), {
    if (Module['onGameExit'])
        Module['onGameExit'](code);
});
// clang-format on

// clang-format off
EM_JS(void, mz_host_text_input, (int on), {
    var f = Module[on ? 'onTextInputStart' : 'onTextInputStop'];
    if (f)
        f();
});
// clang-format on

void MzHost::FramePresented() {
    mz_host_frame_presented();
}

void MzHost::ProgramEnded(int code) {
    mz_host_program_ended(code);
}

void MzHost::TextInput(bool on) {
    mz_host_text_input(on ? 1 : 0);
}

bool MzHost::OwnsFullScreen() {
    return true;
}

bool MzHost::ScalesTheScreen() {
    return true;
}
