// The platform trace: one line per platform event (sound, timer, message, quit,
// control shown/hidden/moved/listed/unlisted, tap, present), to CE_TRACE=<file> with a time stamp
// and, in test mode, to memory.
#pragma once

#include "ce/CePort.h"

#include <string>
#include <vector>

class CeTrace {
public:
    static bool Enabled(); // cheap: false unless a file or memory capture is on
    static void Write(const std::string& line);
    static void CaptureInMemory(bool on);
    static std::vector<std::string> Captured();
    static void ClearCaptured();
};
