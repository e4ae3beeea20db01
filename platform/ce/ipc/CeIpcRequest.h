// The checks a request from another process passes before anything acts on it:
// a known kind, every field in range and nothing left over. A request that fails
// is refused whole, so a forged or torn frame never has a partial effect.
#pragma once

#include "core/CeInside.h"

#include <cstdint>
#include <string>

class CeIpcRequest {
public:
    enum Kind : uint32_t { kPing = 1, kDeviceIo = 2, kWindow = 3, kRepublish = 4 };
    static bool Valid(const std::string& frame);

    static constexpr uint32_t kWindowOps = 7;   // CeRemoteWindowHost::Op 1..7
    static constexpr uint32_t kMaxShowCmd = 11; // SW_HIDE .. SW_FORCEMINIMIZE
    static constexpr size_t kMaxBusName = 259;  // MAX_PATH - 1
    static constexpr size_t kMaxIoInput = 1u << 20;
    static constexpr uint32_t kMaxIoOutput = 1u << 20;
};
