#include "ce/CeNotice.h"

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
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, text.c_str());
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

std::string CeNotice::Escaped(std::string_view text) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c < 0x20 || c == 0x7F) {
            out += {'\\', 'x', hex[c >> 4], hex[c & 15]};
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) { // C1, as UTF-8
            out += {'\\', 'u', '0', '0', hex[next >> 4], hex[next & 15]};
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}
