#include "ce/CeDeviceFile.h"

#include "ce/CeHostFs.h"
#include "ce/CePath.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CeDeviceFile::Result CeDeviceFile::Read(LPCWSTR cePath, size_t limit, Contents& out) {
    out = Contents();
    CeLocation loc;
    DWORD error = ERROR_SUCCESS;
    if (!cePath || !CePath::Locate(cePath, loc, error))
        return error == ERROR_ACCESS_DENIED ? Result::NotRegular : Result::Missing; // a link
    using Kind = CeLocation::Kind;
    if (loc.kind == Kind::Missing || loc.kind == Kind::Virtual || loc.kind == Kind::Root)
        return Result::Missing;
    out.hostPath = loc.hostPath;
    const int fd = CeHostFs::OpenRegular(AT_FDCWD, loc.hostPath, O_RDONLY);
    if (fd < 0)
        return errno == EINVAL   ? Result::NotRegular
               : errno == ENOENT ? Result::Missing
                                 : Result::Failed;
    struct stat st {};
    Result result = Result::Ok;
    if (::fstat(fd, &st) != 0 || !CeHostFs::ReadAll(fd, limit, out.bytes))
        result = errno == EFBIG ? Result::TooLarge : Result::Failed;
    ::close(fd);
    out.mtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return result;
}

std::string CeDeviceFile::Reason(Result result, size_t limit) {
    switch (result) {
    case Result::Ok:
        return "";
    case Result::Missing:
        return std::strerror(ENOENT);
    case Result::NotRegular:
        return "not a regular file";
    case Result::TooLarge:
        return "larger than the " +
               (limit % (1u << 20) == 0 ? std::to_string(limit >> 20) + " MiB"
                                        : std::to_string(limit >> 10) + " KiB") +
               " allowed";
    case Result::Failed:
        break;
    }
    return "cannot be read";
}
