#include "testing/TestDeviceRoot.h"

#include "ce/CePath.h"

#include <cstdlib>
#include <filesystem>

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
    setenv("CE_DEVICE_ROOT", path_.c_str(), 1);
    CePath::ResetForTests();
}

TestDeviceRoot::~TestDeviceRoot() {
    if (path_.empty())
        return;
    std::error_code ec;
    fs::remove_all(path_, ec);
    if (hadRoot_)
        setenv("CE_DEVICE_ROOT", oldRoot_.c_str(), 1);
    else
        unsetenv("CE_DEVICE_ROOT");
    CePath::ResetForTests();
}
