#include "screen/MzWindowFile.h"

#include "ce/CeHostFs.h"
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
    return CeHostFs::NoIntr(
        [&] { return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC); });
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
    const int fd = CeHostFs::OpenRegular(dir, kFileName, O_RDONLY);
    ::close(dir);
    if (fd < 0)
        return std::nullopt;
    std::string text;
    if (!CeHostFs::ReadAll(fd, kMaxBytes, text))
        text.clear();
    ::close(fd);
    return MzWindowPlacement::Parse(text);
}

bool MzWindowFile::Save(const MzWindowPlacement& placement) {
    const std::string folder = Folder();
    if (folder.empty())
        return false;
    // The config home and the product's folder are made private, as the XDG rules ask.
    CeHostFs::MakeDir(AT_FDCWD, folder.substr(0, folder.rfind('/')));
    CeHostFs::MakeDir(AT_FDCWD, folder);
    const int dir = OpenFolder(folder);
    if (dir < 0) {
        TellFailure(folder, errno);
        return false;
    }
    const std::string temp = TempName();
    const int fd = CeHostFs::OpenRegular(dir, temp, O_WRONLY | O_CREAT | O_EXCL);
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
