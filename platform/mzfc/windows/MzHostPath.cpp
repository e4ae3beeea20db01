#include "windows/MzHostPath.h"

#include "ce/CePath.h"

#include <sys/stat.h>
#include <unistd.h>

std::string MzHostPath::ForReading(LPCWSTR cePath) {
    std::string host;
    DWORD error = 0;
    if (!cePath || !CePath::Map(cePath, CePath::Use::Read, host, error))
        return "";
    struct stat st {};
    return stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? host : "";
}
