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
    // Input that arrives the way desktop events do: read between the posted messages
    // and the timers, whatever the steps are waiting for.
    static void QueueInput(Step input);
    static bool RunQueuedInput(); // true when some ran
};
