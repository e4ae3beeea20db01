#include "mzfc/MzHostPath.h"

#include "ce/CeUtf16.h"

#include <cstdlib>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string DeviceRoot() {
    if (const char* root = std::getenv("CE_DEVICE_ROOT"); root && *root)
        return root;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        return std::string(data) + "/burrowbop/device";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.local/share/burrowbop/device";
}

// The entry of folder whose name equals name without regard to ASCII case.
bool MatchEntry(const std::string& folder, const std::string& name, std::string& out) {
    struct stat st {};
    if (stat((folder + "/" + name).c_str(), &st) == 0) {
        out = name;
        return true;
    }
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return false;
    bool found = false;
    while (dirent* e = readdir(dir)) {
        if (strcasecmp(e->d_name, name.c_str()) == 0) {
            out = e->d_name;
            found = true;
            break;
        }
    }
    closedir(dir);
    return found;
}

} // namespace

std::string MzHostPath::ForReading(LPCWSTR cePath) {
    std::string path = CeUtf16::ToUtf8(cePath);
    if (path.empty() || path.size() >= MAX_PATH * 3)
        return "";
    std::vector<std::string> parts;
    std::string part;
    for (char c : path + "\\") {
        if (c == '\\' || c == '/') {
            if (part == "..")
                return "";
            if (!part.empty() && part != ".")
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    std::string host = DeviceRoot();
    for (const std::string& p : parts) {
        std::string actual;
        if (!MatchEntry(host, p, actual))
            return "";
        host += "/" + actual;
    }
    return parts.empty() ? "" : host;
}

std::string MzHostPath::ExecutablePath() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return "";
    buf[n] = 0;
    return buf;
}
