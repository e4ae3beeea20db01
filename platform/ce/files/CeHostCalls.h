// The two host calls the file layer uses where the host kernel offers them and a page's
// file system does not. The build picks one source: the Linux calls, or the portable
// equivalents for a single process.
#pragma once

#include "core/CeInside.h"

#include <string>

class CeHostCalls {
public:
    // Opens the folder root/relative without following a link or leaving root; -1 with
    // errno ENOSYS (or EPERM under a filter) where the host cannot do it in one call,
    // and the caller walks step by step.
    static int OpenBeneath(int root, const std::string& relative);
    // Renames from to a name that must not exist yet: -1 with errno EEXIST when it does.
    static int RenameNoReplace(const std::string& from, const std::string& to);
};
