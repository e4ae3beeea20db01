#include "files/CeMountTable.h"

#include "ce/CeUtf16.h"

#include "ce/CeHostFs.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

} // namespace

std::vector<std::u16string> CeMountTable::Split(std::u16string_view path) {
    std::vector<std::u16string> out;
    size_t i = 0;
    while (i <= path.size()) {
        size_t j = i;
        while (j < path.size() && path[j] != u'\\' && path[j] != u'/')
            ++j;
        std::u16string_view part = path.substr(i, j - i);
        if (!part.empty() && part != u".")
            out.emplace_back(part);
        i = j + 1;
    }
    return out;
}

bool CeMountTable::MakeMount(const std::u16string& ceFolder, const std::string& host,
                             CeMount& out) {
    out.names = Split(ceFolder);
    out.upperNames.clear();
    for (const auto& n : out.names) {
        if (n == u"..")
            return false;
        out.upperNames.push_back(CeUtf16::Upper(n));
    }
    out.host = host;
    while (out.host.size() > 1 && out.host.back() == '/')
        out.host.pop_back();
    return !out.names.empty() && !out.host.empty();
}

std::vector<CeMount> CeMountTable::Parse(std::string_view text, const std::string& base) {
    std::vector<CeMount> mounts;
    size_t i = 0;
    while (i < text.size()) {
        size_t j = text.find_first_of(";\n", i);
        if (j == std::string_view::npos)
            j = text.size();
        std::string_view entry = Trim(text.substr(i, j - i));
        i = j + 1;
        if (entry.empty() || entry.front() == '#')
            continue;
        size_t eq = entry.find('=');
        if (eq == std::string_view::npos)
            continue;
        std::u16string ce;
        if (!CeUtf16::FromUtf8(Trim(entry.substr(0, eq)), ce))
            continue;
        std::string host(Trim(entry.substr(eq + 1)));
        if (host.empty())
            continue;
        if (host.front() != '/' && !base.empty())
            host = base + "/" + host;
        CeMount m;
        if (MakeMount(ce, host, m))
            mounts.push_back(std::move(m));
    }
    return mounts;
}

std::vector<CeMount> CeMountTable::ReadFile(const std::string& file) {
    const int fd = CeHostFs::OpenRegular(AT_FDCWD, file, O_RDONLY);
    std::string text;
    // A mounts file names a folder or two; only its start is ever looked at.
    const bool read = fd >= 0 && CeHostFs::ReadUpTo(fd, kMaxFileBytes, text);
    if (fd >= 0)
        ::close(fd);
    if (!read)
        return {};
    size_t slash = file.find_last_of('/');
    std::string base = slash == std::string::npos ? "." : file.substr(0, slash);
    return Parse(text, base.empty() ? "/" : base);
}
