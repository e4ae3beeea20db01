// One line on stderr ("<program>: ...") for a failure the player would not see
// otherwise: a picture or sound that cannot be loaded, a file that cannot be
// written, a device root that cannot be made, something damaged under .ce set
// aside. Each kind of failure is told once, with control characters escaped.
#pragma once

#include "ce/CePort.h"

#include <string>
#include <string_view>

class CeNotice {
public:
    // Writes the line the first time key comes in this run; thread-safe.
    static void Once(const std::string& key, const std::string& text);
    // A file the program cannot write (read-only, a folder, no space): the first one
    // of the run is told, with the host's reason for err.
    static void WriteFailed(const std::string& hostPath, int err);
    static void WriteFailed(int fd, int err); // the file open on fd
};
