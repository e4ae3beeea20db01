// This process's listener for requests from the other processes of the device
// (device control codes, window calls). One accepting thread; each connection gets
// its own thread, so a request that waits (a send to a busy UI thread) never holds
// up another.
#pragma once

#include "ce/CeIpcBuffer.h"

#include <functional>
#include <string>

class CeIpcServer {
public:
    enum Kind : uint32_t { kPing = 1, kDeviceIo = 2, kWindow = 3 };
    // Reads the request's fields after the kind; writes the reply.
    using Handler = std::function<void(CeIpcBuffer& request, CeIpcBuffer& reply)>;
    static bool Start(); // idempotent
    static void SetHandler(Kind kind, Handler handler);
    static std::string Name(); // this process's socket name
};
