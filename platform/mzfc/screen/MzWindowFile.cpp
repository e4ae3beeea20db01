#include "screen/MzWindowFile.h"

#include "ce/CeNotice.h"
#include "ce/CeProduct.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>

namespace {

constexpr const char* kFileName = "window";

#ifdef MZFC_NO_WINDOW_FILE
std::string Folder() {
    return "";
}
#else
// The config home as the XDG rules name it: a relative $XDG_CONFIG_HOME is ignored.
std::string ConfigHome() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    std::string home;
    if (const char* h = std::getenv("HOME"); h && *h)
        home = h;
    else if (const passwd* pw = getpwuid(getuid()))
        home = pw->pw_dir;
    return home.empty() ? "" : home + "/.config";
}

std::string Folder() {
    const std::string home = ConfigHome();
    return home.empty() ? "" : home + "/" + CeProduct::Name();
}
#endif

// The folder itself, never through a link at its last name.
int OpenFolder(const std::string& folder) {
    int fd;
    do
        fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    return fd;
}

bool WriteAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// A name nobody can guess; O_EXCL refuses it anyway if it is taken.
std::string TempName() {
    std::random_device device;
    const uint64_t r = (static_cast<uint64_t>(device()) << 32) ^ device() ^
                       static_cast<uint64_t>(std::time(nullptr)) * 0x9E3779B97F4A7C15ull;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(r));
    return std::string(kFileName) + ".tmp." + std::to_string(getpid()) + "." + hex;
}

void TellFailure(const std::string& path, int err) {
    CeNotice::Once("window file",
                   "cannot keep the window's place in " + path + ": " + std::strerror(err));
}

} // namespace

std::string MzWindowFile::Path() {
    const std::string folder = Folder();
    return folder.empty() ? "" : folder + "/" + kFileName;
}

std::optional<MzWindowPlacement> MzWindowFile::Load() {
    const std::string folder = Folder();
    if (folder.empty())
        return std::nullopt;
    const int dir = OpenFolder(folder);
    if (dir < 0)
        return std::nullopt;
    const int fd = ::openat(dir, kFileName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    ::close(dir);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    std::string text;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        st.st_size <= static_cast<off_t>(kMaxBytes)) {
        char buf[kMaxBytes + 1];
        size_t got = 0;
        for (;;) { // the size may have changed since the stat: read one byte past the limit
            const ssize_t n = ::read(fd, buf + got, sizeof buf - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += static_cast<size_t>(n);
            if (got == sizeof buf)
                break;
        }
        if (got <= kMaxBytes)
            text.assign(buf, got);
    }
    ::close(fd);
    return MzWindowPlacement::Parse(text);
}

bool MzWindowFile::Save(const MzWindowPlacement& placement) {
    const std::string folder = Folder();
    if (folder.empty())
        return false;
    // The config home and the product's folder are made private, as the XDG rules ask.
    ::mkdir(folder.substr(0, folder.rfind('/')).c_str(), 0700);
    ::mkdir(folder.c_str(), 0700);
    const int dir = OpenFolder(folder);
    if (dir < 0) {
        TellFailure(folder, errno);
        return false;
    }
    const std::string temp = TempName();
    const int fd =
        ::openat(dir, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    bool ok = fd >= 0;
    int err = errno;
    if (ok) {
        ok = WriteAll(fd, placement.Format()) && ::fsync(fd) == 0;
        err = errno;
        ok = ::close(fd) == 0 && ok;
        if (ok && ::renameat(dir, temp.c_str(), dir, kFileName) != 0) {
            ok = false;
            err = errno;
        }
        if (!ok)
            ::unlinkat(dir, temp.c_str(), 0);
    }
    ::close(dir);
    if (!ok)
        TellFailure(folder + "/" + kFileName, err);
    return ok;
}
