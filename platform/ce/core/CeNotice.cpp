#include "ce/CeNotice.h"

#include "ce/CePrintable.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>
#include <unistd.h>

void CeNotice::Once(const std::string& key, const std::string& text) {
    static std::mutex lock;
    static std::set<std::string> told;
    {
        std::lock_guard<std::mutex> guard(lock);
        if (!told.insert(key).second)
            return;
    }
    // Paths and names in notices may come from the device root: never raw.
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name,
                 CePrintable::Escape(text).c_str());
}

void CeNotice::WriteFailed(const std::string& hostPath, int err) {
    // The settings are the one file the program writes: one line per run is enough.
    Once("write", "cannot write " + hostPath + ": " + std::strerror(err) +
                      " (changes are kept for this run only)");
}

void CeNotice::WriteFailed(int fd, int err) {
    char path[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = readlink(link.c_str(), path, sizeof path - 1);
    WriteFailed(n > 0 ? std::string(path, static_cast<size_t>(n)) : "a file", err);
}
