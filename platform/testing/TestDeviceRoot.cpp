#include "testing/TestDeviceRoot.h"

#include "ce/CePath.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

TestDeviceRoot::TestDeviceRoot() {
    std::error_code ec;
    for (const fs::path& parent : {fs::path("/dev/shm"), fs::temp_directory_path(ec)}) {
        std::string pattern = (parent / "ce-root-XXXXXX").string();
        if (!parent.empty() && mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
            break;
        }
    }
    if (path_.empty())
        return;
    if (const char* old = getenv("CE_DEVICE_ROOT")) {
        hadRoot_ = true;
        oldRoot_ = old;
    }
    if (const char* old = getenv("XDG_CONFIG_HOME")) {
        hadConfig_ = true;
        oldConfig_ = old;
    }
    setenv("CE_DEVICE_ROOT", path_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", ConfigHome().c_str(), 1);
    CePath::ResetForTests();
}

TestDeviceRoot::~TestDeviceRoot() {
    if (path_.empty())
        return;
    std::error_code ec;
    // Read-only folders would stop the removal when not running as root.
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
    if (hadRoot_)
        setenv("CE_DEVICE_ROOT", oldRoot_.c_str(), 1);
    else
        unsetenv("CE_DEVICE_ROOT");
    if (hadConfig_)
        setenv("XDG_CONFIG_HOME", oldConfig_.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    CePath::ResetForTests();
}

void TestDeviceRoot::Put(const std::string& relative, const std::string& bytes) const {
    if (path_.empty())
        return;
    fs::path p = Host(relative);
    std::error_code ec;
    fs::create_directories(p.parent_path(), ec);
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TestDeviceRoot::Get(const std::string& relative) const {
    if (path_.empty())
        return {};
    std::ifstream in(Host(relative), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool TestDeviceRoot::Exists(const std::string& relative) const {
    std::error_code ec;
    return !path_.empty() && fs::exists(fs::symlink_status(Host(relative), ec));
}

void TestDeviceRoot::MakeDir(const std::string& relative) const {
    if (path_.empty())
        return;
    std::error_code ec;
    fs::create_directories(Host(relative), ec);
}

bool TestDeviceRoot::MakeFifo(const std::string& relative) const {
    MakeDir(fs::path(relative).parent_path().string());
    return !path_.empty() && ::mkfifo(Host(relative).c_str(), 0600) == 0;
}

void TestDeviceRoot::OpenToOthers(const std::string& relative) const {
    std::error_code ec;
    fs::path p = Host(relative);
    if (fs::is_regular_file(p, ec))
        fs::permissions(p, fs::perms::group_read | fs::perms::others_read, fs::perm_options::add,
                        ec);
    for (p = p.parent_path(); p.string().size() >= path_.size(); p = p.parent_path())
        fs::permissions(p, fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add,
                        ec);
}
