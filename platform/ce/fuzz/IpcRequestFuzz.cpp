// Feeds arbitrary input to what another process reaches of this one. The first byte
// chooses the layer:
// - even: the rest is a request frame for the check every request passes. Besides
//   crashes and sanitizer reports it checks that an accepted frame is accepted only
//   whole: one byte more or less is refused.
// - odd: the rest is a script of pieces sent over one connection to this process's
//   own listener, with pauses, partial headers and frames of up to 3 MiB. The
//   listener must close every connection within its time limits once the sender
//   stops, and a frame read must never hold more memory than its bytes that came.
#include "ce/CeIpcChannel.h"
#include "ipc/CeIpcBuffer.h"
#include "ipc/CeIpcRequest.h"
#include "ipc/CeIpcServer.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;
constexpr CeIpcServer::Limits kLimits{8, 30, 60};
// Past the limits, with room for a loaded machine.
constexpr auto kCloseWithin = std::chrono::milliseconds(3000);

void CheckRequest(const std::string& frame) {
    if (!CeIpcRequest::Valid(frame))
        return;
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
}

// One piece of a connection script: bytes to send after a pause, or the end.
struct Piece {
    int pauseMs = 0;
    std::string bytes;
    bool end = false;       // stop sending
    bool halfClose = false; // and say so (the listener sees the end at once)
};

// Each piece starts with a control byte: its low nibble is the pause in ms, its high
// nibble 0..12 takes that many bytes plus one literally, 13 a length header of the
// next 4 bytes, 14 a filler of the length in the next 3 bytes (up to 3 MiB), 15 ends
// the script without a half close.
std::vector<Piece> Parse(const uint8_t* p, size_t n) {
    std::vector<Piece> pieces;
    size_t i = 0;
    while (i < n) {
        Piece piece;
        const uint8_t control = p[i++];
        piece.pauseMs = control & 0x0F;
        const int kind = control >> 4;
        if (kind == 15) {
            piece.end = true;
            pieces.push_back(piece);
            return pieces;
        }
        size_t take = kind <= 12 ? static_cast<size_t>(kind) + 1 : kind == 13 ? 4 : 3;
        take = std::min(take, n - i);
        std::string field(reinterpret_cast<const char*>(p + i), take);
        i += take;
        if (kind == 14) {
            size_t count = 0;
            for (size_t k = 0; k < field.size(); ++k)
                count |= static_cast<size_t>(static_cast<uint8_t>(field[k])) << (8 * k);
            piece.bytes.assign(count % (3u << 20), 'x');
        } else {
            piece.bytes = std::move(field);
        }
        pieces.push_back(std::move(piece));
    }
    Piece last;
    last.end = last.halfClose = true;
    pieces.push_back(last);
    return pieces;
}

int Dial(const std::string& name) {
    int fd = CeIpcChannel::Connect(name, 2000);
    if (fd < 0)
        std::abort(); // this process's own listener, with places free
    return fd;
}

void SendSome(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        pollfd pfd{fd, POLLOUT, 0};
        if (::poll(&pfd, 1, 200) != 1)
            return; // the listener reads no more: a later check decides
        ssize_t w = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (w <= 0)
            return;
        done += static_cast<size_t>(w);
    }
}

// Reads until the listener closes; aborts when it keeps the connection too long.
void ExpectClosed(int fd) {
    const auto start = Clock::now();
    char buf[65536];
    for (;;) {
        auto left = kCloseWithin - (Clock::now() - start);
        if (left <= Clock::duration::zero())
            std::abort(); // a connection held past the listener's limits
        pollfd pfd{fd, POLLIN, 0};
        int ms = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
        if (::poll(&pfd, 1, ms) == 1 && ::recv(fd, buf, sizeof buf, MSG_DONTWAIT) <= 0)
            return;
    }
}

void CheckConnection(const std::vector<Piece>& pieces) {
    static const bool started = [] {
        CeIpcServer::SetLimits(kLimits);
        return CeIpcServer::Start();
    }();
    if (!started)
        std::abort();
    const int fd = Dial(CeIpcServer::Name());
    for (const Piece& piece : pieces) {
        std::this_thread::sleep_for(std::chrono::milliseconds(piece.pauseMs));
        if (piece.end) {
            if (piece.halfClose)
                ::shutdown(fd, SHUT_WR);
            break;
        }
        SendSome(fd, piece.bytes);
    }
    ExpectClosed(fd);
    ::close(fd);
}

// The same bytes read at once as one request: whole, or refused without holding
// more than the bytes that came.
void CheckFrameRead(const std::vector<Piece>& pieces) {
    std::string sent;
    for (const Piece& piece : pieces)
        sent += piece.bytes;
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, pair) != 0)
        std::abort();
    std::thread writer([&] {
        SendSome(pair[1], sent);
        ::shutdown(pair[1], SHUT_WR);
    });
    std::string payload;
    CeIpcChannel::Result r = CeIpcChannel::ReceiveRequest(pair[0], payload, 1000, 2000);
    ::close(pair[0]);
    writer.join();
    ::close(pair[1]);
    uint32_t n = 0;
    for (size_t k = 0; k < 4 && k < sent.size(); ++k)
        n |= static_cast<uint32_t>(static_cast<uint8_t>(sent[k])) << (8 * k);
    const bool whole = sent.size() >= 4 && n <= CeIpcChannel::kMaxFrame && sent.size() - 4 >= n;
    if (r == CeIpcChannel::Result::kOk && (!whole || payload != sent.substr(4, n)))
        std::abort();
    if (r != CeIpcChannel::Result::kOk && whole)
        std::abort(); // the bytes were all there
    if (payload.capacity() > 2 * std::max<size_t>(sent.size(), 16384) + 64)
        std::abort(); // memory for bytes that never came
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    if ((data[0] & 1) == 0) {
        CheckRequest(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
        return 0;
    }
    std::vector<Piece> pieces = Parse(data + 1, size - 1);
    CheckFrameRead(pieces);
    CheckConnection(pieces);
    return 0;
}
