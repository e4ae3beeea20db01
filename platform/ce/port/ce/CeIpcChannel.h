// Frames over Unix stream sockets between the processes of a device. A serving
// process listens on an abstract socket named after its pid and a random token,
// so nothing is left on disk and a recycled pid never answers for a dead process.
// Every wait has a time limit (a negative one means none, for a caller that asked
// to wait for good) and a frame never takes more memory than its bytes that came.
#pragma once

#include "ce/CePort.h"

#include <cstdint>
#include <string>

class CeIpcChannel {
public:
    enum class Result { kOk, kTimedOut, kFailed };

    static std::string SocketName(int pid, uint64_t token);
    static int Listen(const std::string& name); // fd, or -1
    // An fd, or -1 when nobody listens, the listener belongs to another
    // user, or its queue of connections stays full for timeoutMs (*result kTimedOut).
    static int Connect(const std::string& name, int timeoutMs, Result* result = nullptr);
    // The process at the other end runs as this process's user (SO_PEERCRED).
    static bool SameUser(int fd);
    // Within timeoutMs, whether the fd blocks or not.
    static Result Send(int fd, const std::string& payload, int timeoutMs);
    // Fails on end, error or a frame over kMaxFrame.
    static Result Receive(int fd, std::string& payload, int timeoutMs);
    // A server's read of a request: its first byte within idleMs, all of it within
    // wholeMs of that.
    static Result ReceiveRequest(int fd, std::string& payload, int idleMs, int wholeMs);
    // Connect, send, receive one reply, close; all within timeoutMs. A process that
    // let a call run out is taken for stuck: later calls to it with a time limit wait
    // kStuckWaitMs at most, until one is answered.
    static bool Call(const std::string& name, const std::string& request, std::string& reply,
                     int timeoutMs);
    static constexpr uint32_t kMaxFrame = 1u << 21;
    static constexpr int kStuckWaitMs = 100;
};
