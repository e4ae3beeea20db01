// The portable host calls: one process owns the file system (a page's), so a look
// before the rename cannot race another writer.
#include "files/CeHostCalls.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

int CeHostCalls::OpenBeneath(int, const std::string&) {
    errno = ENOSYS; // the caller walks step by step, refusing links itself
    return -1;
}

int CeHostCalls::RenameNoReplace(const std::string& from, const std::string& to) {
    struct stat st;
    if (::lstat(to.c_str(), &st) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from.c_str(), to.c_str());
}
