// A whole file of the device read at once, for the framework's pictures and sounds:
// opened as every file of the device is (a regular file only, never through a link,
// never waiting on a FIFO) and refused, before a byte is read, when it is larger
// than the caller's limit.
#pragma once

#include "ce/CePort.h"

#include "ce/CeTypes.h"

#include <cstddef>
#include <cstdint>
#include <string>

class CeDeviceFile {
public:
    enum class Result { Ok, Missing, NotRegular, TooLarge, Failed };
    struct Contents {
        std::string bytes;
        std::string hostPath; // where it was found, for messages; "" when missing
        int64_t mtimeNs = 0;
    };
    static Result Read(LPCWSTR cePath, size_t limit, Contents& out);
    // The reason for a failed read, for a line on stderr.
    static std::string Reason(Result result, size_t limit);
};
