#include "testing/TestOtherUser.h"

#include "testing/TestPipe.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

// In a forked child: only async-signal-safe calls, the parent may have threads.
bool BecomeNobody() {
    return ::setgroups(0, nullptr) == 0 && ::setresgid(kNobody, kNobody, kNobody) == 0 &&
           ::setresuid(kNobody, kNobody, kNobody) == 0;
}

// The marker byte a handle that denies writing holds (CeShareLock's layout).
constexpr off_t kDenyWriteMarker = static_cast<off_t>(0x7FFFFFFF00000003LL);

} // namespace

bool TestOtherUser::Available() {
    if (::geteuid() != 0)
        return false;
    TestProcess probe;
    return probe.Fork([] { return BecomeNobody() ? 0 : 1; }) && probe.Wait() == 0;
}

bool TestOtherUser::Hold(TestProcess& holder, const std::string& path, Lock lock) {
    TestPipe ready;
    const bool forked = holder.Fork([&] {
        ready.CloseReadEnd();
        const int fd = BecomeNobody() ? ::open(path.c_str(), O_RDONLY | O_NONBLOCK) : -1;
        bool held = false;
        if (fd >= 0 && lock == Lock::Flock) {
            held = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        } else if (fd >= 0) {
            struct flock fl = {};
            fl.l_type = F_RDLCK;
            fl.l_whence = SEEK_SET;
            fl.l_start = kDenyWriteMarker;
            fl.l_len = 1;
            held = ::fcntl(fd, F_OFD_SETLK, &fl) == 0;
        }
        ready.Write(held ? 'y' : 'n');
        if (held)
            ::pause();
        return held ? 0 : 1;
    });
    ready.CloseWriteEnd();
    char c = 0;
    return forked && ready.Read(c) && c == 'y';
}
