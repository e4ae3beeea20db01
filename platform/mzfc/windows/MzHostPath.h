// CE paths of pictures and sounds to host paths under the device root.
#pragma once

#include "windows/MzInside.h"

#include "ce/CeTypes.h"

#include <string>

class MzHostPath {
public:
    // The host file for a CE path to read, or "" when the path is bad or no file
    // matches (names match without regard to case).
    static std::string ForReading(LPCWSTR cePath);
};
