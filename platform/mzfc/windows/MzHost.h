// What the framework tells the host around it. A desktop window needs nothing told;
// a page (the build picks its source) counts the presented frames for its tests and
// benchmark and shows its own screen once the program has ended.
#pragma once

#include "windows/MzInside.h"

class MzHost {
public:
    static void FramePresented();
    static void ProgramEnded(int code); // after the framework has shut down
};
