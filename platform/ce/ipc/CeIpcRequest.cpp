#include "ipc/CeIpcRequest.h"

#include "ipc/CeIpcBuffer.h"

#include <vector>

namespace {
bool ValidWindow(CeIpcBuffer& in) {
    uint32_t op = 0, msg = 0;
    uint64_t hwnd = 0, w = 0, l = 0;
    if (!in.GetU32(op) || !in.GetU64(hwnd) || !in.GetU32(msg) || !in.GetU64(w) || !in.GetU64(l))
        return false;
    if (op < 1 || op > CeIpcRequest::kWindowOps)
        return false;
    constexpr uint32_t kShow = 1, kBroadcast = 6;
    if (op == kShow && w > CeIpcRequest::kMaxShowCmd)
        return false;
    return op == kBroadcast || hwnd != 0;
}

bool ValidDeviceIo(CeIpcBuffer& in) {
    std::u16string bus;
    uint32_t code = 0, outSize = 0;
    std::vector<uint8_t> input;
    return in.GetText(bus, CeIpcRequest::kMaxBusName) && !bus.empty() && in.GetU32(code) &&
           in.GetBytes(input, CeIpcRequest::kMaxIoInput) && in.GetU32(outSize) &&
           outSize <= CeIpcRequest::kMaxIoOutput;
}
} // namespace

bool CeIpcRequest::Valid(const std::string& frame) {
    CeIpcBuffer in(frame);
    uint32_t kind = 0;
    if (!in.GetU32(kind))
        return false;
    bool ok = false;
    switch (kind) {
    case kPing:
    case kRepublish:
        ok = true;
        break;
    case kDeviceIo:
        ok = ValidDeviceIo(in);
        break;
    case kWindow:
        ok = ValidWindow(in);
        break;
    default:
        return false;
    }
    return ok && in.AtEnd();
}
