#include "files/CeHostCalls.h"

#include "ce/CeHostFs.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

int CeHostCalls::OpenBeneath(int root, const std::string& relative) {
    open_how how{};
    how.flags = O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC;
    how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_BENEATH;
    return CeHostFs::NoIntr([&] {
        return static_cast<int>(::syscall(SYS_openat2, root, relative.c_str(), &how, sizeof how));
    });
}

int CeHostCalls::RenameNoReplace(const std::string& from, const std::string& to) {
    int r = ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
    if (r != 0 && errno == EINVAL) // a file system without the flag
        r = ::rename(from.c_str(), to.c_str());
    return r;
}
