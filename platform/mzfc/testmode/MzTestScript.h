// The steps of the running test script. The message loop runs the next step when it
// is idle (in whichever loop, modal or not, is innermost); when the steps run out it
// posts a quit message, so that a test never hangs.
#pragma once

#include "windows/MzInside.h"

#include <functional>
#include <vector>

class MzTestScript {
public:
    using Step = std::function<void()>;
    static void Begin(std::vector<Step> steps);
    static void End();
    static bool RunNextStep(); // always true: a step ran, or the quit was posted
    // Runs the step inside the nth present from now (1: the next one).
    static void AtPresent(int nth, Step step);
    static void Presented(); // by the screen, at each present
};
