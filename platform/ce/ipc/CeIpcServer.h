// This process's listener for requests from the other processes of the device
// (device control codes, window calls). One accepting thread; each connection gets
// its own thread, so a request that waits (a send to a busy UI thread) never holds
// up another. Only processes of this user are served: a connection from another uid
// is closed before a byte of it is read, and a request out of range is refused.
// Connections are bounded in number and time. One over the limit takes the place of
// the connection that has waited longest for its request, which is closed at once
// (with every place busy with a request, the new one is); a connection that stays
// silent or takes too long to send a request is closed, as is one whose thread
// cannot start. Memory grows with the bytes that come, never with a promised length.
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
    struct Limits {
        int connections = 64; // live at once
        int idleMs = 2000;    // from the connection or the last reply to the next request
        int requestMs = 2000; // from a request's first byte to its last, and for the reply
    };
    // Reads the request's fields after the kind; writes the reply.
    using Handler = std::function<void(CeIpcBuffer& request, CeIpcBuffer& reply)>;
    static bool Start(); // idempotent
    static void SetHandler(Kind kind, Handler handler);
    static std::string Name();                   // this process's socket name
    static void SetLimits(const Limits& limits); // for tests: shorter times, fewer connections
};
