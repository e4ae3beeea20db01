#include "ce/CePath.h"

#include "ce/CeCrt.h"
#include "ce/CeHostFs.h"
#include "ce/CeInstallFiles.h"
#include "ce/CeNotice.h"
#include "ce/CeProduct.h"
#include "ce/CeUtf16.h"
#include "files/CeMountTable.h"

#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

struct State {
    std::mutex lock;
    bool loaded = false;
    std::string root;
    std::vector<CeMount> mounts;
};

State& TheState() {
    static State* s = new State; // used by static destructors that close files
    return *s;
}

std::string Env(const char* name) {
    const char* v = getenv(name);
    return v ? std::string(v) : std::string();
}

// Makes the device root and whatever of its parents is missing, private to this user.
// One the user named keeps its mode; the default one is this program's own.
void MakeRoot(const std::string& path, bool named) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        CeHostFs::MakeDir(AT_FDCWD, path.substr(0, slash));
    const bool made = CeHostFs::MakeDir(AT_FDCWD, path);
    const int err = errno;
    std::error_code ec; // the root may be a link to a folder: the user's choice
    if (!made && !std::filesystem::is_directory(path, ec)) {
        CeNotice::Once("device root",
                       "cannot make the device root " + path + ": " + std::strerror(err));
        return;
    }
    if (named)
        return;
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        CeHostFs::MakePrivate(fd);
        ::close(fd);
    }
}

std::string ChooseRoot() {
    std::string root = Env("CE_DEVICE_ROOT");
    if (root.empty()) {
        std::string data = Env("XDG_DATA_HOME");
        if (data.empty() || data.front() != '/') {
            std::string home = Env("HOME");
            if (home.empty()) {
                if (const passwd* pw = getpwuid(getuid()))
                    home = pw->pw_dir;
            }
            data = home + "/.local/share";
        }
        root = data + "/" + CeProduct::Name() + "/device";
    }
    std::error_code ec;
    std::filesystem::path abs = std::filesystem::absolute(root, ec);
    if (!ec)
        root = abs.lexically_normal().string();
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    return root;
}

std::vector<CeMount> ReadConfiguredMounts() {
    std::error_code ec;
    std::string cwd = std::filesystem::current_path(ec).string();
    std::vector<CeMount> mounts = CeMountTable::Parse(Env("CE_MOUNTS"), cwd);
    const std::string file = CeInstallFiles::Find(".mounts");
    if (!file.empty()) {
        std::vector<CeMount> more = CeMountTable::ReadFile(file);
        mounts.insert(mounts.end(), more.begin(), more.end());
    }
    return mounts;
}

void LoadLocked(State& s) {
    if (s.loaded)
        return;
    s.root = ChooseRoot();
    MakeRoot(s.root, !Env("CE_DEVICE_ROOT").empty());
    std::vector<CeMount> configured = ReadConfiguredMounts();
    s.mounts.insert(s.mounts.begin(), configured.begin(), configured.end());
    s.loaded = true;
}

bool ValidName(const std::u16string& n) {
    if (n == u"..")
        return false;
    for (char16_t c : n) {
        if (c < 0x20 || c == u'<' || c == u'>' || c == u':' || c == u'"' || c == u'|' ||
            c == u'?' || c == u'*')
            return false;
    }
    return true;
}

// Finds a name in a host folder: the exact spelling first, else the first (in byte
// order) whose upper-cased form matches.
bool FindEntry(const std::string& dir, const std::string& utf8, const std::u16string& upper,
               std::string& hostName, struct stat& st) {
    if (lstat((dir + "/" + utf8).c_str(), &st) == 0) {
        hostName = utf8;
        return true;
    }
    DIR* d = opendir(dir.c_str());
    if (!d)
        return false;
    std::string best;
    while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n == "." || n == "..")
            continue;
        std::u16string wide;
        if (!CeUtf16::FromUtf8(n, wide) || CeUtf16::Upper(wide) != upper)
            continue;
        if (best.empty() || n < best)
            best = n;
    }
    closedir(d);
    if (best.empty() || lstat((dir + "/" + best).c_str(), &st) != 0)
        return false;
    hostName = best;
    return true;
}

struct Walk {
    std::string path;
    size_t matched = 0;
    bool isDir = true;
    bool link = false;
    std::string linkPath; // the link met, when link
    std::u16string lastName;
};

Walk WalkLayer(const std::string& base, const std::vector<std::string>& utf8,
               const std::vector<std::u16string>& upper, size_t from) {
    Walk w;
    w.path = base;
    for (size_t i = from; i < utf8.size(); ++i) {
        if (!w.isDir)
            break;
        std::string hostName;
        struct stat st;
        if (!FindEntry(w.path, utf8[i], upper[i], hostName, st))
            break;
        if (S_ISLNK(st.st_mode)) {
            w.link = true;
            w.linkPath = w.path + "/" + hostName;
            break;
        }
        w.path += "/" + hostName;
        ++w.matched;
        w.isDir = S_ISDIR(st.st_mode);
        CeUtf16::FromUtf8(hostName, w.lastName);
    }
    return w;
}

bool IsDir(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The device root and the mounts below it, taken together under the lock so that a
// walk sees one consistent set of layers.
struct Layers {
    std::string root;
    std::vector<CeMount> mounts;
};

Layers TheLayers() {
    State& s = TheState();
    std::lock_guard<std::mutex> guard(s.lock);
    LoadLocked(s);
    return Layers{s.root, s.mounts};
}

// The one walk through the mounts: for each mount on the path (its CE folder a prefix
// of the path, or the path a prefix of its CE folder) with a host folder, calls
// visit(mount, walk): walk is null when the path is a folder that holds the mount,
// else the walk of the rest of the path inside the mount's host folder. Stops when
// visit returns false.
template <typename Visit>
void WalkMounts(const std::vector<CeMount>& mounts, const std::vector<std::string>& utf8,
                const std::vector<std::u16string>& upper, Visit visit) {
    const size_t n = upper.size();
    for (const CeMount& m : mounts) {
        const size_t k = m.upperNames.size();
        bool prefix = true;
        for (size_t i = 0; i < std::min(n, k) && prefix; ++i)
            prefix = upper[i] == m.upperNames[i];
        if (!prefix || !IsDir(m.host))
            continue;
        if (n < k) {
            if (!visit(m, static_cast<const Walk*>(nullptr)))
                return;
            continue;
        }
        const Walk mw = WalkLayer(m.host, utf8, upper, k);
        if (!visit(m, &mw))
            return;
    }
}

bool Fail(DWORD& error, DWORD code) {
    error = code;
    return false;
}

} // namespace

std::string CePath::DeviceRoot() {
    State& s = TheState();
    std::lock_guard<std::mutex> guard(s.lock);
    LoadLocked(s);
    return s.root;
}

void CePath::AddMount(const std::u16string& ceFolder, const std::string& hostFolder) {
    CeMount m;
    if (!CeMountTable::MakeMount(ceFolder, hostFolder, m))
        return;
    State& s = TheState();
    std::lock_guard<std::mutex> guard(s.lock);
    LoadLocked(s);
    s.mounts.push_back(std::move(m));
}

void CePath::ResetForTests() {
    State& s = TheState();
    std::lock_guard<std::mutex> guard(s.lock);
    s.loaded = false;
    s.root.clear();
    s.mounts.clear();
}

std::string CePath::ParentOf(const std::string& hostPath) {
    size_t slash = hostPath.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : hostPath.substr(0, slash);
}

bool CePath::IsReadOnlyHost(const std::string& hostPath) {
    struct stat st;
    if (lstat(hostPath.c_str(), &st) != 0)
        return false;
    return (st.st_mode & S_IWUSR) == 0 || access(hostPath.c_str(), W_OK) != 0;
}

bool CePath::Locate(LPCWSTR cePath, CeLocation& loc, DWORD& error) {
    loc = CeLocation();
    if (!cePath)
        return Fail(error, ERROR_INVALID_PARAMETER);
    size_t len = 0;
    while (len < MAX_PATH && cePath[len])
        ++len;
    if (len >= MAX_PATH)
        return Fail(error, ERROR_FILENAME_EXCED_RANGE);
    if (len == 0)
        return Fail(error, ERROR_PATH_NOT_FOUND);
    loc.ceNames = CeMountTable::Split(std::u16string_view(cePath, len));
    const size_t n = loc.ceNames.size();
    std::vector<std::string> utf8;
    std::vector<std::u16string> upper;
    utf8.reserve(n);
    upper.reserve(n);
    for (const std::u16string& name : loc.ceNames) {
        std::string host;
        if (!ValidName(name) || !CeUtf16::ToUtf8(name, host))
            return Fail(error, ERROR_INVALID_NAME);
        utf8.push_back(std::move(host));
        upper.push_back(CeUtf16::Upper(name));
    }

    const Layers layers = TheLayers();
    const std::string& root = layers.root;
    if (n == 0) {
        loc.kind = CeLocation::Kind::Root;
        loc.isDir = true;
        loc.parentExists = true;
        loc.hostPath = loc.upperPath = root;
        return true;
    }

    Walk up = WalkLayer(root, utf8, upper, 0);
    if (up.link) {
        if (up.matched + 1 == n)
            loc.linkPath = up.linkPath;
        return Fail(error, ERROR_ACCESS_DENIED);
    }
    loc.upperMatched = up.matched;
    loc.upperPath = up.path;
    for (size_t i = up.matched; i < n; ++i)
        loc.upperPath += "/" + utf8[i];
    loc.parentExists = n == 1 || up.matched == n || (up.matched == n - 1 && up.isDir);
    if (up.matched == n) {
        loc.kind = CeLocation::Kind::Upper;
        loc.isDir = up.isDir;
        loc.hostPath = up.path;
        loc.name = up.lastName;
        return true;
    }

    bool virtualDir = false;
    bool link = false;
    WalkMounts(layers.mounts, utf8, upper, [&](const CeMount& m, const Walk* mw) {
        const size_t k = m.upperNames.size();
        if (mw == nullptr) {
            virtualDir = true;
            loc.parentExists = true;
            if (loc.name.empty())
                loc.name = m.names[n - 1];
            return true;
        }
        if (mw->link) {
            link = true;
            return false;
        }
        if (n - 1 <= k || mw->matched == n - k || (mw->matched == n - 1 - k && mw->isDir))
            loc.parentExists = true;
        if (mw->matched == n - k && loc.kind == CeLocation::Kind::Missing) {
            loc.kind = CeLocation::Kind::Mount;
            loc.isDir = mw->isDir;
            loc.hostPath = mw->path;
            loc.name = n == k ? m.names.back() : mw->lastName;
        }
        return true;
    });
    if (link)
        return Fail(error, ERROR_ACCESS_DENIED);
    if (loc.kind == CeLocation::Kind::Missing && virtualDir) {
        loc.kind = CeLocation::Kind::Virtual;
        loc.isDir = true;
        loc.hostPath = loc.upperPath;
        return true;
    }
    if (loc.kind == CeLocation::Kind::Missing) {
        loc.hostPath = loc.upperPath;
        loc.name = loc.ceNames.back();
    }
    return true;
}

void CePath::LayerFolders(const std::vector<std::u16string>& ceNames,
                          std::vector<std::string>& hostFolders,
                          std::vector<std::u16string>& virtualNames) {
    const size_t n = ceNames.size();
    std::vector<std::string> utf8(n);
    std::vector<std::u16string> upper(n);
    for (size_t i = 0; i < n; ++i) {
        if (!CeUtf16::ToUtf8(ceNames[i], utf8[i]))
            return;
        upper[i] = CeUtf16::Upper(ceNames[i]);
    }
    const Layers layers = TheLayers();
    const std::string& root = layers.root;
    Walk up = WalkLayer(root, utf8, upper, 0);
    if (up.matched == n && up.isDir && !up.link)
        hostFolders.push_back(up.path);
    WalkMounts(layers.mounts, utf8, upper, [&](const CeMount& m, const Walk* mw) {
        if (mw == nullptr)
            virtualNames.push_back(m.names[n]);
        else if (mw->matched == n - m.upperNames.size() && mw->isDir && !mw->link)
            hostFolders.push_back(mw->path);
        return true;
    });
}

bool CePath::MakeUpperParent(const CeLocation& loc, DWORD& error) {
    const size_t n = loc.ceNames.size();
    if (n <= 1 || loc.upperMatched >= n - 1)
        return true;
    if (!loc.parentExists)
        return Fail(error, ERROR_PATH_NOT_FOUND);
    std::vector<std::string> folders;
    std::string p = ParentOf(loc.upperPath);
    for (size_t i = loc.upperMatched; i < n - 1; ++i) {
        folders.push_back(p);
        p = ParentOf(p);
    }
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
        if (!CeHostFs::MakeDir(AT_FDCWD, *it))
            return Fail(error, errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND);
    }
    return true;
}

bool CePath::Map(LPCWSTR cePath, Use use, std::string& hostPath, DWORD& error) {
    CeLocation loc;
    if (!Locate(cePath, loc, error))
        return false;
    using Kind = CeLocation::Kind;
    if (use == Use::Read || loc.kind == Kind::Upper || loc.kind == Kind::Root) {
        hostPath = loc.kind == Kind::Missing ? loc.upperPath : loc.hostPath;
        return true;
    }
    if (loc.kind == Kind::Mount && !loc.isDir)
        return Fail(error, ERROR_ACCESS_DENIED);
    if (loc.kind == Kind::Missing && !loc.parentExists)
        return Fail(error, ERROR_PATH_NOT_FOUND);
    if (!MakeUpperParent(loc, error))
        return false;
    if (loc.kind != Kind::Missing && !CeHostFs::MakeDir(AT_FDCWD, loc.upperPath))
        return Fail(error, ERROR_ACCESS_DENIED);
    hostPath = loc.upperPath;
    return true;
}
