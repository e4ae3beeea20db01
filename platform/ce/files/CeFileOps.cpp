// The file calls that work on paths: attributes, delete, move, folders.
#include "ce/CeFile.h"

#include "ce/CeFaultInjector.h"
#include "ce/CeHostFs.h"
#include "ce/CeNotice.h"
#include "ce/CePath.h"
#include "ce/CePersist.h"
#include "ce/CeUtf16.h"
#include "core/CeHostError.h"
#include "files/CeHostCalls.h"
#include "files/CeShareLock.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

using Kind = CeLocation::Kind;

bool Locate(LPCWSTR path, CeLocation& loc) {
    DWORD error = ERROR_SUCCESS;
    if (!CePath::Locate(path, loc, error))
        return CeHostError::Fail(error);
    return true;
}

DWORD NotFound(const CeLocation& loc) {
    return loc.parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

// Whether the entry's upper folder lets entries be added or removed.
bool ParentWritable(const CeLocation& loc) {
    if (loc.upperMatched + 1 < loc.ceNames.size())
        return true; // the folder is still to be made
    return !CePath::IsReadOnlyHost(CePath::ParentOf(loc.upperPath));
}

bool OpenElsewhere(const std::string& hostPath) {
    int fd = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    bool busy = CeShareLock::InUseByOthers(fd);
    close(fd);
    return busy;
}

bool SyncFolder(const std::string& folder) {
    CeFaultInjector::BeforeSync();
    if (!CeFaultInjector::SyncEnabled())
        return true;
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

// A link is moved as itself, never followed, and only to a free name in its own
// folder: so that whatever was planted can be set aside.
bool MoveLink(const std::string& linkPath, LPCWSTR newName) {
    CeLocation to;
    if (!Locate(newName, to))
        return false;
    if (to.kind != Kind::Missing)
        return CeHostError::Fail(ERROR_ALREADY_EXISTS);
    if (CePath::ParentOf(to.upperPath) != CePath::ParentOf(linkPath))
        return CeHostError::Fail(ERROR_ACCESS_DENIED);
    if (CeHostCalls::RenameNoReplace(linkPath, to.upperPath) != 0)
        return CeHostError::Fail();
    return true;
}

} // namespace

DWORD GetFileAttributesW(LPCWSTR lpFileName) {
    CeLocation loc;
    if (!Locate(lpFileName, loc))
        return INVALID_FILE_ATTRIBUTES;
    if (loc.kind == Kind::Missing) {
        SetLastError(NotFound(loc));
        return INVALID_FILE_ATTRIBUTES;
    }
    if (loc.isDir)
        return FILE_ATTRIBUTE_DIRECTORY |
               (loc.kind == Kind::Upper && CePath::IsReadOnlyHost(loc.hostPath)
                    ? FILE_ATTRIBUTE_READONLY
                    : 0);
    // Told without opening it: opening a planted FIFO is what callers must not do.
    struct stat st;
    if (lstat(loc.hostPath.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return FILE_ATTRIBUTE_DEVICE;
    bool readOnly = loc.kind == Kind::Mount || CePath::IsReadOnlyHost(loc.hostPath);
    return FILE_ATTRIBUTE_ARCHIVE | (readOnly ? FILE_ATTRIBUTE_READONLY : 0);
}

BOOL SetFileAttributesW(LPCWSTR lpFileName, DWORD dwFileAttributes) {
    CeLocation loc;
    if (!Locate(lpFileName, loc))
        return FALSE;
    if (loc.kind == Kind::Missing)
        return CeHostError::Fail(NotFound(loc));
    if (loc.kind != Kind::Upper)
        return CeHostError::Fail(ERROR_ACCESS_DENIED);
    struct stat st;
    if (lstat(loc.hostPath.c_str(), &st) != 0)
        return CeHostError::Fail();
    mode_t mode = st.st_mode & 07777;
    mode = (dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? (mode & ~0222) : (mode | S_IWUSR);
    if (chmod(loc.hostPath.c_str(), mode) != 0)
        return CeHostError::Fail();
    return TRUE;
}

BOOL DeleteFileW(LPCWSTR lpFileName) {
    if (CeFaultInjector::Hit(CeFaultInjector::kDelete))
        return CeHostError::Fail(ERROR_WRITE_FAULT);
    CeLocation loc;
    if (!Locate(lpFileName, loc))
        return FALSE;
    if (loc.kind == Kind::Missing)
        return CeHostError::Fail(NotFound(loc));
    if (loc.kind != Kind::Upper || loc.isDir || CePath::IsReadOnlyHost(loc.hostPath) ||
        !ParentWritable(loc))
        return CeHostError::Fail(ERROR_ACCESS_DENIED);
    if (OpenElsewhere(loc.hostPath))
        return CeHostError::Fail(ERROR_SHARING_VIOLATION);
    if (unlink(loc.hostPath.c_str()) != 0)
        return CeHostError::Fail();
    CePersist::Changed();
    return TRUE;
}

BOOL MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags) {
    if (CeFaultInjector::Hit(CeFaultInjector::kMove))
        return CeHostError::Fail(ERROR_WRITE_FAULT);
    CeLocation from, to;
    if (!Locate(lpExistingFileName, from))
        return !from.linkPath.empty() && MoveLink(from.linkPath, lpNewFileName);
    if (!Locate(lpNewFileName, to))
        return FALSE;
    if (from.kind == Kind::Missing)
        return CeHostError::Fail(NotFound(from));
    if (from.kind != Kind::Upper || !ParentWritable(from))
        return CeHostError::Fail(ERROR_ACCESS_DENIED);
    std::string target = to.upperPath;
    if (to.kind != Kind::Missing && to.hostPath == from.hostPath) {
        // The same entry under another spelling: a change of case.
        std::string name;
        CeUtf16::ToUtf8(to.ceNames.back(), name);
        target = CePath::ParentOf(from.hostPath) + "/" + name;
    } else if (to.kind != Kind::Missing) {
        if (!(dwFlags & MOVEFILE_REPLACE_EXISTING))
            return CeHostError::Fail(ERROR_ALREADY_EXISTS);
        if (to.kind == Kind::Upper && !from.isDir &&
            (to.isDir || CePath::IsReadOnlyHost(to.hostPath)))
            CeNotice::WriteFailed(to.hostPath, to.isDir ? EISDIR : EACCES);
        if (to.kind != Kind::Upper || to.isDir || from.isDir || CePath::IsReadOnlyHost(to.hostPath))
            return CeHostError::Fail(ERROR_ACCESS_DENIED);
        target = to.hostPath;
    } else if (!to.parentExists) {
        return CeHostError::Fail(ERROR_PATH_NOT_FOUND);
    }
    if (!ParentWritable(to)) {
        CeNotice::WriteFailed(target, EACCES);
        return CeHostError::Fail(ERROR_ACCESS_DENIED);
    }
    DWORD error = ERROR_SUCCESS;
    if (!CePath::MakeUpperParent(to, error))
        return CeHostError::Fail(error);
    int r;
    if (to.kind == Kind::Missing) {
        r = CeHostCalls::RenameNoReplace(from.hostPath, target);
    } else {
        r = rename(from.hostPath.c_str(), target.c_str()); // atomic replace
    }
    if (r != 0) {
        CeNotice::WriteFailed(target, errno);
        return CeHostError::Fail();
    }
    CePersist::Changed();
    if (dwFlags & MOVEFILE_WRITE_THROUGH) {
        const std::string folder = CePath::ParentOf(target);
        const std::string oldFolder = CePath::ParentOf(from.hostPath);
        if (!SyncFolder(folder) || (oldFolder != folder && !SyncFolder(oldFolder)))
            return CeHostError::Fail(ERROR_WRITE_FAULT);
    }
    return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES) {
    CeLocation loc;
    if (!Locate(lpPathName, loc))
        return FALSE;
    if (loc.kind != Kind::Missing)
        return CeHostError::Fail(ERROR_ALREADY_EXISTS);
    if (!loc.parentExists)
        return CeHostError::Fail(ERROR_PATH_NOT_FOUND);
    if (!ParentWritable(loc))
        return CeHostError::Fail(ERROR_ACCESS_DENIED);
    DWORD error = ERROR_SUCCESS;
    if (!CePath::MakeUpperParent(loc, error))
        return CeHostError::Fail(error);
    if (mkdirat(AT_FDCWD, loc.upperPath.c_str(), CeHostFs::kDirMode) != 0)
        return CeHostError::Fail();
    CePersist::Changed();
    return TRUE;
}

BOOL RemoveDirectoryW(LPCWSTR lpPathName) {
    CeLocation loc;
    if (!Locate(lpPathName, loc))
        return FALSE;
    if (loc.kind == Kind::Missing)
        return CeHostError::Fail(NotFound(loc));
    if (!loc.isDir)
        return CeHostError::Fail(ERROR_DIRECTORY);
    if (loc.kind != Kind::Upper || CePath::IsReadOnlyHost(loc.hostPath) || !ParentWritable(loc))
        return CeHostError::Fail(ERROR_ACCESS_DENIED);
    if (rmdir(loc.hostPath.c_str()) != 0)
        return CeHostError::Fail();
    CePersist::Changed();
    return TRUE;
}
