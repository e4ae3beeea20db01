// Frames over Unix stream sockets between the processes of a device. A serving
// process listens on an abstract socket named after its pid and a random token,
// so nothing is left on disk and a recycled pid never answers for a dead process.
#pragma once

#include "ce/CePort.h"

#include <cstdint>
#include <string>

class CeIpcChannel {
public:
    static std::string SocketName(int pid, uint64_t token);
    static int Listen(const std::string& name); // fd, or -1
    // fd, or -1 when nobody listens or the listener belongs to another user.
    static int Connect(const std::string& name);
    // The process at the other end runs as this process's user (SO_PEERCRED).
    static bool SameUser(int fd);
    static bool Send(int fd, const std::string& payload);
    // timeoutMs < 0 waits forever; false on timeout, error, end or oversize frame.
    static bool Receive(int fd, std::string& payload, int timeoutMs);
    // Connect, send, receive one reply, close.
    static bool Call(const std::string& name, const std::string& request, std::string& reply,
                     int timeoutMs);
    static constexpr uint32_t kMaxFrame = 1u << 21;
};
