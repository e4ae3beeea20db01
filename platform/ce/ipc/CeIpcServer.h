// This process's listener for requests from the other processes of the device
// (device control codes, window calls). One accepting thread; each connection gets
// its own thread, so a request that waits (a send to a busy UI thread) never holds
// up another. Only processes of this user are served: a connection from another uid
// is closed before a byte of it is read, and a request out of range is refused.
#pragma once

#include "core/CeInside.h"

#include "ipc/CeIpcBuffer.h"
#include "ipc/CeIpcRequest.h"

#include <functional>
#include <string>

class CeIpcServer {
public:
    enum Kind : uint32_t {
        kPing = CeIpcRequest::kPing,
        kDeviceIo = CeIpcRequest::kDeviceIo,
        kWindow = CeIpcRequest::kWindow,
        kRepublish = CeIpcRequest::kRepublish, // rewrite this process's record
    };
    // Reads the request's fields after the kind; writes the reply.
    using Handler = std::function<void(CeIpcBuffer& request, CeIpcBuffer& reply)>;
    static bool Start(); // idempotent
    static void SetHandler(Kind kind, Handler handler);
    static std::string Name(); // this process's socket name
};
