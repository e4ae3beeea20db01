#include "ipc/CeRemoteWindowHost.h"

#include "ipc/CeIpcServer.h"
#include "ipc/CeProcessRecord.h"

#include <chrono>
#include <future>
#include <memory>
#include <mutex>

namespace {
struct State {
    std::mutex lock;
    CeRemoteWindowHost::Ui* ui = nullptr;
    std::vector<CeProcessRecord::Window> windows;
};

State& TheState() {
    static State* s = new State;
    return *s;
}

bool Published(State& s, uint64_t hwnd) {
    for (const auto& w : s.windows)
        if (w.hwnd == hwnd)
            return true;
    return false;
}

void Handle(CeIpcBuffer& in, CeIpcBuffer& out) {
    uint32_t op = 0, msg = 0;
    uint64_t hwnd = 0, w = 0, l = 0;
    if (!in.GetU32(op) || !in.GetU64(hwnd) || !in.GetU32(msg) || !in.GetU64(w) || !in.GetU64(l))
        return;
    State& s = TheState();
    CeRemoteWindowHost::Ui* ui = nullptr;
    std::vector<HWND> targets;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        ui = s.ui;
        if (op == CeRemoteWindowHost::kBroadcast) {
            for (const auto& win : s.windows)
                targets.push_back(reinterpret_cast<HWND>(static_cast<uintptr_t>(win.hwnd)));
        } else if (Published(s, hwnd)) {
            targets.push_back(reinterpret_cast<HWND>(static_cast<uintptr_t>(hwnd)));
        }
    }
    if (ui == nullptr || (targets.empty() && op != CeRemoteWindowHost::kBroadcast))
        return; // empty reply: no such window here
    auto wParam = static_cast<WPARAM>(w);
    auto lParam = static_cast<LPARAM>(l);
    if (op == CeRemoteWindowHost::kPost || op == CeRemoteWindowHost::kBroadcast) {
        // A post returns once queued, as on the phone.
        ui->Run([ui, targets, msg, wParam, lParam] {
            for (HWND t : targets)
                ui->Post(t, msg, wParam, lParam);
        });
        out.PutU64(1);
        return;
    }
    struct Answer {
        int64_t value = 0;
        RECT rect{};
    };
    auto done = std::make_shared<std::promise<Answer>>();
    std::future<Answer> result = done->get_future();
    HWND target = targets.front();
    ui->Run([ui, done, op, target, msg, wParam, lParam] {
        Answer a;
        int64_t& r = a.value;
        switch (op) {
        case CeRemoteWindowHost::kShow:
            r = ui->Show(target, static_cast<int>(wParam));
            break;
        case CeRemoteWindowHost::kIsVisible:
            r = ui->IsVisible(target);
            break;
        case CeRemoteWindowHost::kSetForeground:
            r = ui->SetForeground(target);
            break;
        case CeRemoteWindowHost::kSend:
            r = ui->Send(target, msg, wParam, lParam);
            break;
        case CeRemoteWindowHost::kGetRect:
            r = ui->GetRect(target, &a.rect);
            break;
        default:
            break;
        }
        done->set_value(a);
    });
    try {
        Answer a = result.get(); // as long as the UI thread takes
        out.PutU64(static_cast<uint64_t>(a.value));
        for (LONG v : {a.rect.left, a.rect.top, a.rect.right, a.rect.bottom})
            out.PutU32(static_cast<uint32_t>(v));
    } catch (const std::future_error&) {
        // the UI dropped the work (its loop ended): empty reply
    }
}

bool PublishLocked(State& s) {
    return CeProcessRecord::SetWindows(s.windows);
}
} // namespace

void CeRemoteWindowHost::SetUi(Ui* ui) {
    State& s = TheState();
    std::lock_guard<std::mutex> guard(s.lock);
    s.ui = ui;
}

bool CeRemoteWindowHost::Publish(HWND hwnd, const std::u16string& className,
                                 const std::u16string& title) {
    CeIpcServer::SetHandler(CeIpcServer::kWindow, Handle);
    State& s = TheState();
    std::lock_guard<std::mutex> guard(s.lock);
    auto id = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(hwnd));
    auto order = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch() /
                                       std::chrono::microseconds(1));
    bool found = false;
    for (auto& w : s.windows) {
        if (w.hwnd == id) {
            w.className = className;
            w.title = title;
            found = true;
        }
    }
    if (!found)
        s.windows.push_back({id, order, className, title});
    return PublishLocked(s);
}

bool CeRemoteWindowHost::Withdraw(HWND hwnd) {
    State& s = TheState();
    std::lock_guard<std::mutex> guard(s.lock);
    auto id = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(hwnd));
    size_t before = s.windows.size();
    std::erase_if(s.windows, [id](const CeProcessRecord::Window& w) { return w.hwnd == id; });
    return before != s.windows.size() && PublishLocked(s);
}
