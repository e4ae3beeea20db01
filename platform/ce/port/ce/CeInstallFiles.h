// Files that belong to the running executable: beside it in a build tree
// (<exe><suffix>), or in its data folder in an installed tree, where only programs
// stay in bin/ (<exe's folder>/../share/<exe's name>/<exe's name><suffix>).
#pragma once

#include "ce/CePort.h"

#include <string>
#include <vector>

class CeInstallFiles {
public:
    // Where to look, in order, for the executable at exe.
    static std::vector<std::string> Candidates(const std::string& exe, const std::string& suffix);
    // The first candidate for the running executable that is a regular file, or "".
    static std::string Find(const std::string& suffix);
};
