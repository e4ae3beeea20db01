// FindFirstFileW / FindNextFileW / FindClose over the union of the layers.
#include "ce/CeFile.h"

#include "ce/CePath.h"
#include "ce/CeUtf16.h"
#include "core/CeHostError.h"
#include "files/CeFileSearch.h"
#include "files/CeMountTable.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>

namespace {

using Kind = CeLocation::Kind;

FILETIME ToFileTime(const timespec& t) {
    // 100 ns intervals since 1601-01-01.
    uint64_t v = (static_cast<uint64_t>(t.tv_sec) + 11644473600ull) * 10000000ull +
                 static_cast<uint64_t>(t.tv_nsec) / 100;
    return FILETIME{static_cast<DWORD>(v), static_cast<DWORD>(v >> 32)};
}

WIN32_FIND_DATAW Entry(const std::u16string& name, const std::string& hostPath) {
    WIN32_FIND_DATAW d = {};
    struct stat st;
    if (!hostPath.empty() && lstat(hostPath.c_str(), &st) == 0) {
        d.ftCreationTime = d.ftLastAccessTime = d.ftLastWriteTime = ToFileTime(st.st_mtim);
        if (!S_ISDIR(st.st_mode)) {
            uint64_t size = static_cast<uint64_t>(st.st_size);
            d.nFileSizeHigh = static_cast<DWORD>(size >> 32);
            d.nFileSizeLow = static_cast<DWORD>(size);
        }
    }
    size_t n = std::min<size_t>(name.size(), MAX_PATH - 1);
    std::copy(name.begin(), name.begin() + static_cast<ptrdiff_t>(n), d.cFileName);
    return d;
}

// '*' any run, '?' one character; without regard to case.
bool Matches(std::u16string_view pattern, std::u16string_view name) {
    size_t p = 0, s = 0, star = std::u16string_view::npos, mark = 0;
    while (s < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[s])) {
            ++p;
            ++s;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            mark = s;
        } else if (star != std::u16string_view::npos) {
            p = star + 1;
            s = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

void ListHost(const std::string& dir, std::vector<std::u16string>& out) {
    DIR* d = opendir(dir.c_str());
    if (!d)
        return;
    std::vector<std::u16string> found;
    while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        std::u16string wide;
        if (n == "." || n == ".." || !CeUtf16::FromUtf8(n, wide))
            continue;
        found.push_back(wide);
    }
    closedir(d);
    std::sort(found.begin(), found.end());
    out.insert(out.end(), found.begin(), found.end());
}

HANDLE Start(std::vector<WIN32_FIND_DATAW> entries, LPWIN32_FIND_DATAW out, DWORD notFound) {
    if (entries.empty()) {
        SetLastError(notFound);
        return INVALID_HANDLE_VALUE;
    }
    auto search = std::make_unique<CeFileSearch>(std::move(entries));
    WIN32_FIND_DATAW first;
    search->Next(first);
    if (out)
        *out = first;
    SetLastError(ERROR_SUCCESS);
    return CeHandleTable::Insert(std::move(search));
}

// A pattern search in one CE folder: the union of the folder in every layer, the
// device root first; a name seen once is not repeated.
HANDLE FindPattern(const std::u16string& folder, const std::u16string& pattern,
                   LPWIN32_FIND_DATAW out) {
    CeLocation loc;
    DWORD error = ERROR_SUCCESS;
    std::u16string ceFolder = folder.empty() ? u"\\" : folder;
    if (!CePath::Locate(ceFolder.c_str(), loc, error)) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    if (loc.kind == Kind::Missing || !loc.isDir) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::vector<std::string> folders;
    std::vector<std::u16string> names;
    CePath::LayerFolders(loc.ceNames, folders, names);
    for (const std::string& f : folders)
        ListHost(f, names);
    std::set<std::u16string> seen;
    std::vector<WIN32_FIND_DATAW> entries;
    auto add = [&](const std::u16string& name) {
        std::u16string upper = CeUtf16::Upper(name);
        if (seen.count(upper) || !Matches(CeUtf16::Upper(pattern), upper))
            return;
        seen.insert(upper);
        std::u16string full = ceFolder + u"\\" + name;
        CeLocation item;
        DWORD e2 = ERROR_SUCCESS;
        if (!CePath::Locate(full.c_str(), item, e2) || item.kind == Kind::Missing)
            return;
        WIN32_FIND_DATAW d = Entry(name, item.kind == Kind::Virtual ? "" : item.hostPath);
        d.dwFileAttributes = GetFileAttributesW(full.c_str());
        entries.push_back(d);
    };
    for (const auto& n : names)
        add(n);
    return Start(std::move(entries), out, ERROR_FILE_NOT_FOUND);
}

} // namespace

HANDLE FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData) {
    if (!lpFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::u16string path(lpFileName);
    size_t cut = path.find_last_of(u"\\/");
    std::u16string last = cut == std::u16string::npos ? path : path.substr(cut + 1);
    if (last.find_first_of(u"*?") != std::u16string::npos && path.size() < MAX_PATH)
        return FindPattern(cut == std::u16string::npos ? u"" : path.substr(0, cut), last,
                           lpFindFileData);
    CeLocation loc;
    DWORD error = ERROR_SUCCESS;
    if (!CePath::Locate(lpFileName, loc, error)) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    if (loc.kind == Kind::Missing || loc.kind == Kind::Root) {
        SetLastError(loc.parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    WIN32_FIND_DATAW d = Entry(loc.name, loc.kind == Kind::Virtual ? "" : loc.hostPath);
    d.dwFileAttributes = GetFileAttributesW(lpFileName);
    return Start({d}, lpFindFileData, ERROR_FILE_NOT_FOUND);
}

BOOL FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData) {
    std::shared_ptr<CeFileSearch> s = CeHandleTable::Lookup<CeFileSearch>(hFindFile);
    if (!s)
        return CeHostError::Fail(ERROR_INVALID_HANDLE);
    WIN32_FIND_DATAW d;
    if (!s->Next(d))
        return CeHostError::Fail(ERROR_NO_MORE_FILES);
    if (lpFindFileData)
        *lpFindFileData = d;
    return TRUE;
}

BOOL FindClose(HANDLE hFindFile) {
    if (!CeHandleTable::Lookup<CeFindObject>(hFindFile) || !CeHandleTable::Close(hFindFile))
        return CeHostError::Fail(ERROR_INVALID_HANDLE);
    return TRUE;
}
