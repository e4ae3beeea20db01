#include "ipc/CeProcessRecord.h"

#include "ce/CeIpcChannel.h"
#include "ce/CeSharedDir.h"
#include "files/CeFileLock.h"
#include "files/CeSafeDir.h"
#include "ipc/CeIpcServer.h"
#include "objects/CeSharedText.h"

#include <algorithm>
#include <mutex>
#include <random>
#include <sstream>
#include <unistd.h>

namespace {
constexpr char kHeader[] = "record 1";
constexpr int kRepairTimeoutMs = 1000;
// A record lists a process's few windows and devices: well under a kilobyte each.
constexpr size_t kMaxRecord = 64 * 1024;

struct Own {
    std::mutex lock;
    std::vector<CeProcessRecord::Window> windows;
    std::vector<CeProcessRecord::Device> devices;
    std::string dir; // where the record was written ("" if not yet)
    CeFileLock alive;
};

Own& TheOwn() {
    static Own* own = new Own; // never destroyed: the flock must last to the process's end
    return *own;
}

std::string GuidHex(const GUID& g) {
    char buf[40];
    snprintf(buf, sizeof buf, "%08x%04x%04x%02x%02x%02x%02x%02x%02x%02x%02x", g.Data1, g.Data2,
             g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5],
             g.Data4[6], g.Data4[7]);
    return buf;
}

bool GuidFromHex(const std::string& s, GUID& g) {
    if (s.size() != 32 || s.find_first_not_of("0123456789abcdef") != std::string::npos)
        return false;
    auto part = [&](size_t at, size_t n) {
        return static_cast<uint32_t>(std::stoul(s.substr(at, n), nullptr, 16));
    };
    g.Data1 = part(0, 8);
    g.Data2 = static_cast<uint16_t>(part(8, 4));
    g.Data3 = static_cast<uint16_t>(part(12, 4));
    for (size_t i = 0; i < 8; ++i)
        g.Data4[i] = static_cast<uint8_t>(part(16 + 2 * i, 2));
    return true;
}

std::string BaseName(int pid, uint64_t token) {
    char buf[48];
    snprintf(buf, sizeof buf, "%d-%016llx", pid, static_cast<unsigned long long>(token));
    return buf;
}

bool Parse(const std::string& text, CeProcessRecord::Entry& e) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kHeader)
        return false;
    while (std::getline(in, line)) {
        std::istringstream f(line);
        std::string what;
        f >> what;
        if (what == "window") {
            CeProcessRecord::Window w;
            std::string cls, title;
            if (!(f >> w.hwnd >> w.order >> cls >> title) ||
                !CeSharedText::FromHex(cls, w.className) || !CeSharedText::FromHex(title, w.title))
                return false;
            e.windows.push_back(std::move(w));
        } else if (what == "device") {
            CeProcessRecord::Device d;
            std::string guid, bus, name;
            if (!(f >> guid >> bus >> name) || !GuidFromHex(guid, d.guid) ||
                !CeSharedText::FromHex(bus, d.busName) ||
                !CeSharedText::FromHex(name, d.deviceName))
                return false;
            e.devices.push_back(std::move(d));
        }
    }
    return true;
}
// text stays empty unless the record was read and parsed.
bool ReadRecord(const CeSafeDir& dir, const std::string& base, std::string& text,
                CeProcessRecord::Entry& e) {
    e.windows.clear();
    e.devices.clear();
    if (dir.Read(base + ".rec", text, kMaxRecord) && Parse(text, e) && !text.empty())
        return true;
    text.clear();
    return false;
}

// A living process whose record is damaged: set the record aside and ask its owner
// to write it anew, so that its windows and devices can be found again.
bool Repair(const CeSafeDir& dir, const std::string& base, const CeProcessRecord::Entry& e) {
    if (!dir.SetAside(base + ".rec", "damaged"))
        return false;
    CeIpcBuffer request;
    request.PutU32(CeIpcServer::kRepublish);
    std::string reply;
    return CeIpcChannel::Call(e.SocketName(), request.Data(), reply, kRepairTimeoutMs);
}
} // namespace

std::string CeProcessRecord::Entry::SocketName() const {
    return CeIpcChannel::SocketName(pid, token);
}

uint64_t CeProcessRecord::Token() {
    static const uint64_t token = [] {
        std::random_device rd;
        uint64_t t = (static_cast<uint64_t>(rd()) << 32) ^ rd() ^ static_cast<uint64_t>(::getpid());
        return t == 0 ? 1 : t;
    }();
    return token;
}

bool CeProcessRecord::SameGuid(const GUID& a, const GUID& b) {
    return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
           std::equal(a.Data4, a.Data4 + 8, b.Data4);
}

bool CeProcessRecord::SetWindows(const std::vector<Window>& windows) {
    Own& own = TheOwn();
    std::lock_guard<std::mutex> guard(own.lock);
    own.windows = windows;
    return Write();
}

bool CeProcessRecord::SetDevices(const std::vector<Device>& devices) {
    Own& own = TheOwn();
    std::lock_guard<std::mutex> guard(own.lock);
    own.devices = devices;
    return Write();
}

// Called with the own lock held.
bool CeProcessRecord::Write() {
    Own& own = TheOwn();
    std::string base = BaseName(static_cast<int>(::getpid()), Token());
    std::string dir = CeSharedDir::Get("procs");
    if (dir != own.dir && !own.dir.empty()) { // the device root changed: leave the old one
        CeSharedDir::RemoveFile(own.dir + "/" + base + ".rec");
        own.alive.Unlock();
        CeSharedDir::RemoveFile(own.dir + "/" + base + ".lock");
        own.dir.clear();
    }
    if (dir.empty())
        return false;
    if (own.dir.empty()) {
        CeIpcServer::SetHandler(CeIpcServer::kRepublish, [](CeIpcBuffer&, CeIpcBuffer& out) {
            Own& self = TheOwn();
            std::lock_guard<std::mutex> again(self.lock);
            out.PutU32(Write() ? 1 : 0);
        });
        if (!CeIpcServer::Start() ||
            !own.alive.Lock(dir + "/" + base + ".lock", CeFileLock::Mode::Exclusive, false))
            return false;
        own.dir = dir;
    }
    std::string text = std::string(kHeader) + "\n";
    for (const auto& w : own.windows)
        text += "window " + std::to_string(w.hwnd) + " " + std::to_string(w.order) + " " +
                CeSharedText::ToHex(w.className) + " " + CeSharedText::ToHex(w.title) + "\n";
    for (const auto& d : own.devices)
        text += "device " + GuidHex(d.guid) + " " + CeSharedText::ToHex(d.busName) + " " +
                CeSharedText::ToHex(d.deviceName) + "\n";
    return CeSharedDir::ReplaceFile(dir + "/" + base + ".rec", text, false);
}

std::vector<CeProcessRecord::Entry> CeProcessRecord::Live(bool includeSelf) {
    std::vector<Entry> out;
    std::string path = CeSharedDir::Path("procs");
    CeSafeDir dir = path.empty() ? CeSafeDir() : CeSafeDir::Open(path, false);
    if (!dir.Valid())
        return out;
    std::vector<std::string> names;
    for (const std::string& name : dir.List())
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".rec") == 0)
            names.push_back(name.substr(0, name.size() - 4));
    std::sort(names.begin(), names.end());
    for (const auto& base : names) {
        Entry e;
        unsigned long long token = 0;
        if (sscanf(base.c_str(), "%d-%llx", &e.pid, &token) != 2)
            continue;
        e.token = token;
        bool self = e.pid == static_cast<int>(::getpid()) && e.token == Token();
        if (!self && !CeFileLock::HeldByOther(dir, base + ".lock")) {
            if (!dir.Remove(base + ".rec"))
                dir.SetAside(base + ".rec", "not a regular file");
            dir.Remove(base + ".lock");
            continue; // its process is gone
        }
        if (self && !includeSelf)
            continue;
        std::string text;
        if (!ReadRecord(dir, base, text, e) && !self && Repair(dir, base, e))
            ReadRecord(dir, base, text, e);
        if (!text.empty())
            out.push_back(std::move(e));
    }
    return out;
}
