#include "ce/CeInstallFiles.h"

#include <sys/stat.h>
#include <unistd.h>

std::vector<std::string> CeInstallFiles::Candidates(const std::string& exe,
                                                    const std::string& suffix) {
    const size_t slash = exe.find_last_of('/');
    const std::string name = slash == std::string::npos ? exe : exe.substr(slash + 1);
    if (name.empty())
        return {};
    const std::string folder = slash == std::string::npos ? "." : exe.substr(0, slash);
    return {exe + suffix, folder + "/../share/" + name + "/" + name + suffix};
}

std::string CeInstallFiles::Find(const std::string& suffix) {
    char exe[4096];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0)
        return "";
    for (const std::string& file : Candidates(std::string(exe, static_cast<size_t>(n)), suffix)) {
        struct stat st {};
        if (stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            return file;
    }
    return "";
}
