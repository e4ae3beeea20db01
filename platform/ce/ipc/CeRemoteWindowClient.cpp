#include "ce/CeRemoteWindowClient.h"

#include "ce/CeIpcChannel.h"
#include "ipc/CeIpcServer.h"
#include "ipc/CeProcessRecord.h"
#include "ipc/CeRemoteWindowHost.h"
#include "objects/CeSharedText.h"

#include <mutex>

namespace {
// Proxies live in an address range no heap or small-number HWND ever uses.
constexpr uintptr_t kProxyBase = sizeof(void*) == 8 ? static_cast<uintptr_t>(0x7E00ull << 48)
                                                    : static_cast<uintptr_t>(0x7E000000u);
constexpr uintptr_t kProxyStep = 16;
constexpr size_t kMaxProxies = 1u << 20;
// For calls that only queue or read a flag. A process that let any call run out has
// a stuck UI thread: later calls only queue behind the first, so the channel waits
// much less on it until it answers again, and a program that asks it at every tick
// can still read its input and quit in time.
constexpr int kQuickTimeoutMs = 5000;

struct Target {
    std::string socket;
    int pid;
    uint64_t hwnd;
    std::u16string className;
    bool operator==(const Target&) const = default;
};

struct Proxies {
    std::mutex lock;
    std::vector<Target> targets;
};

Proxies& TheProxies() {
    static Proxies* p = new Proxies;
    return *p;
}

HWND ProxyFor(const Target& t) {
    Proxies& p = TheProxies();
    std::lock_guard<std::mutex> guard(p.lock);
    size_t i = 0;
    while (i < p.targets.size() && !(p.targets[i] == t))
        ++i;
    if (i == p.targets.size()) {
        if (p.targets.size() >= kMaxProxies)
            return nullptr;
        p.targets.push_back(t);
    }
    return reinterpret_cast<HWND>(kProxyBase + (i + 1) * kProxyStep);
}

bool TargetOf(HWND proxy, Target& t) {
    auto v = reinterpret_cast<uintptr_t>(proxy);
    if (v < kProxyBase + kProxyStep || (v - kProxyBase) % kProxyStep != 0)
        return false;
    size_t i = (v - kProxyBase) / kProxyStep - 1;
    Proxies& p = TheProxies();
    std::lock_guard<std::mutex> guard(p.lock);
    if (i >= p.targets.size())
        return false;
    t = p.targets[i];
    return true;
}

// One window call; false when the process is gone or the window unknown there.
bool Call(const std::string& socket, uint32_t op, uint64_t hwnd, UINT msg, WPARAM w, LPARAM l,
          int timeoutMs, int64_t& result, RECT* rect = nullptr) {
    CeIpcBuffer request;
    request.PutU32(CeIpcServer::kWindow);
    request.PutU32(op);
    request.PutU64(hwnd);
    request.PutU32(msg);
    request.PutU64(static_cast<uint64_t>(w));
    request.PutU64(static_cast<uint64_t>(l));
    std::string data;
    if (!CeIpcChannel::Call(socket, request.Data(), data, timeoutMs))
        return false;
    CeIpcBuffer reply(std::move(data));
    uint64_t r = 0;
    if (!reply.GetU64(r))
        return false;
    result = static_cast<int64_t>(r);
    if (rect != nullptr) {
        uint32_t v[4];
        for (auto& x : v)
            if (!reply.GetU32(x))
                return false;
        *rect = RECT{static_cast<LONG>(v[0]), static_cast<LONG>(v[1]), static_cast<LONG>(v[2]),
                     static_cast<LONG>(v[3])};
    }
    return true;
}

BOOL Simple(HWND proxy, uint32_t op, WPARAM w) {
    Target t;
    int64_t r = 0;
    if (!TargetOf(proxy, t) || !Call(t.socket, op, t.hwnd, 0, w, 0, kQuickTimeoutMs, r))
        return FALSE;
    return r != 0 ? TRUE : FALSE;
}
} // namespace

HWND CeRemoteWindowClient::Find(LPCWSTR className, LPCWSTR title) {
    std::u16string cls = CeSharedText::FromPtr(className);
    std::u16string ttl = CeSharedText::FromPtr(title);
    const CeProcessRecord::Window* best = nullptr;
    const CeProcessRecord::Entry* owner = nullptr;
    auto live = CeProcessRecord::Live(false);
    for (const auto& e : live) {
        for (const auto& w : e.windows) {
            if (className != nullptr && !CeSharedText::EqualNoCase(w.className, cls))
                continue;
            if (title != nullptr && w.title != ttl)
                continue;
            if (best == nullptr || w.order > best->order) {
                best = &w;
                owner = &e;
            }
        }
    }
    if (best == nullptr)
        return nullptr;
    return ProxyFor({owner->SocketName(), owner->pid, best->hwnd, best->className});
}

bool CeRemoteWindowClient::IsProxy(HWND hwnd) {
    Target t;
    return TargetOf(hwnd, t);
}

BOOL CeRemoteWindowClient::Show(HWND proxy, int cmd) {
    return Simple(proxy, CeRemoteWindowHost::kShow, static_cast<WPARAM>(cmd));
}

BOOL CeRemoteWindowClient::IsVisible(HWND proxy) {
    return Simple(proxy, CeRemoteWindowHost::kIsVisible, 0);
}

BOOL CeRemoteWindowClient::SetForeground(HWND proxy) {
    return Simple(proxy, CeRemoteWindowHost::kSetForeground, 0);
}

BOOL CeRemoteWindowClient::GetRect(HWND proxy, RECT* rect) {
    Target t;
    int64_t r = 0;
    RECT got{};
    if (rect == nullptr || !TargetOf(proxy, t) ||
        !Call(t.socket, CeRemoteWindowHost::kGetRect, t.hwnd, 0, 0, 0, kQuickTimeoutMs, r, &got) ||
        r == 0)
        return FALSE;
    *rect = got;
    return TRUE;
}

std::u16string CeRemoteWindowClient::ClassName(HWND proxy) {
    Target t;
    return TargetOf(proxy, t) ? t.className : std::u16string();
}

BOOL CeRemoteWindowClient::Post(HWND proxy, UINT msg, WPARAM wParam, LPARAM lParam) {
    Target t;
    int64_t r = 0;
    if (!TargetOf(proxy, t) ||
        !Call(t.socket, CeRemoteWindowHost::kPost, t.hwnd, msg, wParam, lParam, kQuickTimeoutMs, r))
        return FALSE;
    return r != 0 ? TRUE : FALSE;
}

BOOL CeRemoteWindowClient::Broadcast(UINT msg, WPARAM wParam, LPARAM lParam) {
    for (const auto& e : CeProcessRecord::Live(false)) {
        if (e.windows.empty())
            continue;
        int64_t r = 0;
        Call(e.SocketName(), CeRemoteWindowHost::kBroadcast, 0, msg, wParam, lParam,
             kQuickTimeoutMs, r); // a process that cannot be reached is skipped
    }
    return TRUE;
}

LRESULT CeRemoteWindowClient::Send(HWND proxy, UINT msg, WPARAM wParam, LPARAM lParam,
                                   UINT timeoutMs, DWORD_PTR* result) {
    Target t;
    int64_t r = 0;
    int wait = timeoutMs == INFINITE || timeoutMs > 0x7FFFFFFFu ? -1 : static_cast<int>(timeoutMs);
    if (!TargetOf(proxy, t))
        return 0;
    const bool answered =
        Call(t.socket, CeRemoteWindowHost::kSend, t.hwnd, msg, wParam, lParam, wait, r);
    if (!answered)
        return 0;
    if (result != nullptr)
        *result = static_cast<DWORD_PTR>(r);
    return 1;
}

std::vector<CeRemoteWindowClient::Listing> CeRemoteWindowClient::List() {
    std::vector<Listing> out;
    for (const auto& e : CeProcessRecord::Live(true))
        for (const auto& w : e.windows)
            out.push_back({e.pid, w.className, w.title});
    return out;
}
