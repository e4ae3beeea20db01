// The program's name as the platform spells it in host names: the folder of the
// default device root ($XDG_DATA_HOME/<name>/device) and the sockets of its
// processes ("<name>-ce/..."). The framework's entry point sets it from the
// application object before any file or process call; tools and tests keep the
// default, so that they meet the game on the same device root.
#pragma once

#include "ce/CePort.h"

#include <string>

class CeProduct {
public:
    static constexpr const char* kDefaultName = "burrowbop";
    // False, keeping the name, unless 1 to 32 of [a-z0-9._-] not starting with '.'.
    static bool SetName(const char* name);
    static std::string Name();
};
