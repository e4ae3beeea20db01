// CreateFileW and the calls on an open file handle.
#include "ce/CeFile.h"

#include "ce/CeFaultInjector.h"
#include "ce/CeHostFs.h"
#include "ce/CeNotice.h"
#include "ce/CePath.h"
#include "core/CeHostError.h"
#include "files/CeFileObject.h"
#include "files/CeFileOpener.h"
#include "files/CeShareLock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <memory>

namespace {

std::atomic<CeFileOpener> g_opener{nullptr};

HANDLE FailHandle(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

std::shared_ptr<CeFileObject> FileOf(HANDLE h) {
    std::shared_ptr<CeFileObject> f = CeHandleTable::Lookup<CeFileObject>(h);
    if (!f)
        SetLastError(ERROR_INVALID_HANDLE);
    return f;
}

// Never a link, a FIFO or a device: anything but a regular file is refused at once,
// with one line on stderr, so that nothing planted can hang or steer the program.
int OpenHost(const std::string& path, int flags, mode_t mode = CeHostFs::kFileMode) {
    int fd = CeHostFs::OpenRegular(AT_FDCWD, path, flags, mode);
    if (fd < 0 && errno == EINVAL)
        CeNotice::Once("kind " + path, "cannot open " + path + ": not a regular file");
    return fd;
}

} // namespace

void CeSetFileOpener(CeFileOpener opener) {
    g_opener.store(opener);
}

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   LPSECURITY_ATTRIBUTES, DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes,
                   HANDLE) {
    const DWORD disp = dwCreationDisposition;
    if (disp < CREATE_NEW || disp > TRUNCATE_EXISTING ||
        (disp == TRUNCATE_EXISTING && !(dwDesiredAccess & GENERIC_WRITE)))
        return FailHandle(ERROR_INVALID_PARAMETER);
    HANDLE other = INVALID_HANDLE_VALUE;
    if (CeFileOpener opener = g_opener.load();
        opener && opener(lpFileName, dwDesiredAccess, dwShareMode, disp, other))
        return other; // e.g. the bus name of a device served on the device root
    if (CeFaultInjector::Hit(CeFaultInjector::kCreate))
        return FailHandle(ERROR_WRITE_FAULT);
    CeLocation loc;
    DWORD error = ERROR_SUCCESS;
    if (!CePath::Locate(lpFileName, loc, error))
        return FailHandle(error);
    using Kind = CeLocation::Kind;
    const bool exists = loc.kind != Kind::Missing;
    const bool truncates = disp == CREATE_ALWAYS || disp == TRUNCATE_EXISTING;
    const bool writes = (dwDesiredAccess & GENERIC_WRITE) || truncates;
    // The descriptor can always read, so that it can carry its sharing markers.
    const int rw = writes ? O_RDWR : O_RDONLY;
    int fd;
    if (exists) {
        if (loc.isDir) {
            if (writes)
                CeNotice::WriteFailed(loc.hostPath, EISDIR);
            return FailHandle(ERROR_ACCESS_DENIED);
        }
        if (disp == CREATE_NEW)
            return FailHandle(ERROR_FILE_EXISTS);
        if (writes && loc.kind == Kind::Mount)
            return FailHandle(ERROR_ACCESS_DENIED); // the install folder: never the program's
        if (writes && CePath::IsReadOnlyHost(loc.hostPath)) {
            CeNotice::WriteFailed(loc.hostPath, EACCES);
            return FailHandle(ERROR_ACCESS_DENIED);
        }
        fd = OpenHost(loc.hostPath, rw);
        if (fd >= 0 && loc.kind == Kind::Upper)
            CeHostFs::MakePrivate(fd); // one an older version left readable to others
    } else {
        if (!loc.parentExists)
            return FailHandle(ERROR_PATH_NOT_FOUND);
        if (disp == OPEN_EXISTING || disp == TRUNCATE_EXISTING)
            return FailHandle(ERROR_FILE_NOT_FOUND);
        const std::string parent = CePath::ParentOf(loc.upperPath);
        if (loc.upperMatched + 1 >= loc.ceNames.size() && CePath::IsReadOnlyHost(parent)) {
            CeNotice::WriteFailed(loc.upperPath, EACCES);
            return FailHandle(ERROR_ACCESS_DENIED);
        }
        if (!CePath::MakeUpperParent(loc, error))
            return FailHandle(error);
        const mode_t mode = (dwFlagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0400 : 0600;
        fd = OpenHost(loc.upperPath, O_RDWR | O_CREAT | O_EXCL, mode);
    }
    if (fd < 0 && errno == EINVAL) // not a regular file: said above
        return FailHandle(ERROR_ACCESS_DENIED);
    if (fd < 0) {
        if (writes && errno != EEXIST)
            CeNotice::WriteFailed(exists ? loc.hostPath : loc.upperPath, errno);
        return FailHandle(CeHostError::FromErrno(errno));
    }
    auto file = std::make_unique<CeFileObject>(fd, dwDesiredAccess);
    if (!CeShareLock::Acquire(fd, dwDesiredAccess, dwShareMode,
                              exists ? loc.hostPath : loc.upperPath, error)) {
        if (writes) // another holder denies writing: a save lost, never silently
            CeNotice::WriteFailed(exists ? loc.hostPath : loc.upperPath, EBUSY);
        return FailHandle(error);
    }
    // A file renamed over between the open and the sharing check is no longer the one
    // the path names: its holder has just replaced it, as a writer in its way would.
    struct stat opened, named;
    if (exists && (fstat(fd, &opened) != 0 || lstat(loc.hostPath.c_str(), &named) != 0 ||
                   opened.st_ino != named.st_ino || opened.st_dev != named.st_dev))
        return FailHandle(ERROR_SHARING_VIOLATION);
    if (exists && truncates && ftruncate(fd, 0) != 0)
        return FailHandle(CeHostError::FromErrno(errno));
    if (!exists || truncates)
        file->MarkChanged();
    HANDLE h = CeHandleTable::Insert(std::move(file));
    SetLastError(exists && (disp == CREATE_ALWAYS || disp == OPEN_ALWAYS) ? ERROR_ALREADY_EXISTS
                                                                          : ERROR_SUCCESS);
    return h;
}

DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
    std::shared_ptr<CeFileObject> f = FileOf(hFile);
    struct stat st;
    if (!f || fstat(f->Fd(), &st) != 0) {
        if (f)
            CeHostError::Fail();
        return INVALID_FILE_SIZE;
    }
    const uint64_t size = static_cast<uint64_t>(st.st_size);
    if (lpFileSizeHigh)
        *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(size);
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
              LPDWORD lpNumberOfBytesRead, LPOVERLAPPED) {
    if (lpNumberOfBytesRead)
        *lpNumberOfBytesRead = 0;
    std::shared_ptr<CeFileObject> f = FileOf(hFile);
    if (!f)
        return FALSE;
    if (!f->CanRead())
        return CeHostError::Fail(ERROR_ACCESS_DENIED);
    if (!lpBuffer && nNumberOfBytesToRead > 0)
        return CeHostError::Fail(ERROR_INVALID_PARAMETER);
    auto* p = static_cast<char*>(lpBuffer);
    DWORD done = 0;
    while (done < nNumberOfBytesToRead) {
        ssize_t r = read(f->Fd(), p + done, nNumberOfBytesToRead - done);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0) {
            SetLastError(ERROR_READ_FAULT);
            return FALSE;
        }
        if (r == 0)
            break;
        done += static_cast<DWORD>(r);
    }
    if (lpNumberOfBytesRead)
        *lpNumberOfBytesRead = done;
    return TRUE;
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
               LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED) {
    if (lpNumberOfBytesWritten)
        *lpNumberOfBytesWritten = 0;
    std::shared_ptr<CeFileObject> f = FileOf(hFile);
    if (!f)
        return FALSE;
    if (!f->CanWrite())
        return CeHostError::Fail(ERROR_ACCESS_DENIED);
    if (!lpBuffer && nNumberOfBytesToWrite > 0)
        return CeHostError::Fail(ERROR_INVALID_PARAMETER);
    if (CeFaultInjector::Hit(CeFaultInjector::kWrite))
        return CeHostError::Fail(ERROR_WRITE_FAULT);
    const auto* p = static_cast<const char*>(lpBuffer);
    DWORD done = 0;
    while (done < nNumberOfBytesToWrite) {
        ssize_t w = write(f->Fd(), p + done, nNumberOfBytesToWrite - done);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            if (lpNumberOfBytesWritten)
                *lpNumberOfBytesWritten = done;
            const int err = w < 0 ? errno : ENOSPC;
            CeNotice::WriteFailed(f->Fd(), err);
            DWORD e = CeHostError::FromErrno(err);
            return CeHostError::Fail(e == ERROR_DISK_FULL ? e : ERROR_WRITE_FAULT);
        }
        done += static_cast<DWORD>(w);
    }
    if (done > 0)
        f->MarkChanged();
    if (lpNumberOfBytesWritten)
        *lpNumberOfBytesWritten = done;
    return TRUE;
}

DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, LONG* lpDistanceToMoveHigh,
                     DWORD dwMoveMethod) {
    std::shared_ptr<CeFileObject> f = FileOf(hFile);
    if (!f)
        return INVALID_SET_FILE_POINTER;
    int64_t distance =
        lpDistanceToMoveHigh
            ? static_cast<int64_t>(
                  (static_cast<uint64_t>(static_cast<uint32_t>(*lpDistanceToMoveHigh)) << 32) |
                  static_cast<uint32_t>(lDistanceToMove))
            : static_cast<int64_t>(lDistanceToMove);
    int64_t base;
    if (dwMoveMethod == FILE_BEGIN) {
        base = 0;
    } else if (dwMoveMethod == FILE_CURRENT) {
        base = lseek(f->Fd(), 0, SEEK_CUR);
    } else if (dwMoveMethod == FILE_END) {
        struct stat st;
        base = fstat(f->Fd(), &st) == 0 ? st.st_size : -1;
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (base < 0 || (distance > 0 && base > INT64_MAX - distance) || base + distance < 0) {
        SetLastError(base < 0 ? ERROR_INVALID_HANDLE : ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    off_t pos = lseek(f->Fd(), static_cast<off_t>(base + distance), SEEK_SET);
    if (pos < 0) {
        CeHostError::Fail();
        return INVALID_SET_FILE_POINTER;
    }
    if (lpDistanceToMoveHigh)
        *lpDistanceToMoveHigh = static_cast<LONG>(static_cast<uint64_t>(pos) >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(pos);
}

BOOL SetEndOfFile(HANDLE hFile) {
    std::shared_ptr<CeFileObject> f = FileOf(hFile);
    if (!f)
        return FALSE;
    if (!f->CanWrite())
        return CeHostError::Fail(ERROR_ACCESS_DENIED);
    if (CeFaultInjector::Hit(CeFaultInjector::kSetEnd))
        return CeHostError::Fail(ERROR_WRITE_FAULT);
    off_t pos = lseek(f->Fd(), 0, SEEK_CUR);
    if (pos < 0 || ftruncate(f->Fd(), pos) != 0)
        return CeHostError::Fail();
    f->MarkChanged();
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE hFile) {
    std::shared_ptr<CeFileObject> f = FileOf(hFile);
    if (!f)
        return FALSE;
    if (!f->CanWrite())
        return CeHostError::Fail(ERROR_ACCESS_DENIED);
    if (CeFaultInjector::Hit(CeFaultInjector::kFlush))
        return CeHostError::Fail(ERROR_WRITE_FAULT);
    CeFaultInjector::BeforeSync();
    if (CeFaultInjector::SyncEnabled() && fsync(f->Fd()) != 0)
        return CeHostError::Fail(ERROR_WRITE_FAULT);
    return TRUE;
}

BOOL CloseHandle(HANDLE hObject) {
    if (!CeHandleTable::Close(hObject))
        return CeHostError::Fail(ERROR_INVALID_HANDLE);
    return TRUE;
}
