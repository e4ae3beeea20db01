// Feeds arbitrary frames to the check that every request from another process
// passes. Besides crashes and sanitizer reports it checks that an accepted frame is
// accepted only whole: one byte more or less is refused.
#include "ipc/CeIpcBuffer.h"
#include "ipc/CeIpcRequest.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string frame(reinterpret_cast<const char*>(data), size);
    if (!CeIpcRequest::Valid(frame))
        return 0;
    // Every kind ends in a fixed-width field, so one byte more or less is refused.
    if (CeIpcRequest::Valid(frame + '\0'))
        std::abort();
    if (!frame.empty() && CeIpcRequest::Valid(frame.substr(0, frame.size() - 1)))
        std::abort();
    // The fields of an accepted frame read back within their bounds.
    CeIpcBuffer in(frame);
    uint32_t kind = 0;
    if (!in.GetU32(kind) || kind < CeIpcRequest::kPing || kind > CeIpcRequest::kRepublish)
        std::abort();
    if (kind == CeIpcRequest::kDeviceIo) {
        std::u16string bus;
        std::vector<uint8_t> input;
        uint32_t code = 0, outSize = 0;
        if (!in.GetText(bus, CeIpcRequest::kMaxBusName) || bus.empty() || !in.GetU32(code) ||
            !in.GetBytes(input, CeIpcRequest::kMaxIoInput) || !in.GetU32(outSize) ||
            outSize > CeIpcRequest::kMaxIoOutput || !in.AtEnd())
            std::abort();
    }
    return 0;
}
