#include "ce/CeDeviceManager.h"

#include "ce/CeDevice.h"
#include "ce/CeFile.h"
#include "ce/CeHandleTable.h"
#include "ce/CeIpcChannel.h"
#include "ce/CeSharedDir.h"
#include "files/CeFileLock.h"
#include "files/CeFileOpener.h"
#include "files/CeFindObject.h"
#include "ipc/CeIpcServer.h"
#include "ipc/CeProcessRecord.h"
#include "objects/CeSharedText.h"

#include <cstring>
#include <map>
#include <mutex>

namespace {
constexpr DWORD kErrorNotReady = 21;
constexpr DWORD kErrorNoMoreDevices = ERROR_NO_MORE_ITEMS;
constexpr int kIoTimeoutMs = 10000; // a driver that never answers must not hang its caller
constexpr size_t kMaxBusName = MAX_PATH - 1;

struct Served {
    GUID guid;
    std::u16string busName;
    CeDeviceHandler handler;
    CeFileLock owner; // held while this process serves the bus name
};

struct Registry {
    std::mutex lock;
    std::map<std::u16string, Served> devices; // by folded bus name
};

Registry& TheRegistry() {
    static Registry* r = new Registry;
    return *r;
}

class CeDeviceSearch : public CeFindObject {}; // FindClose ends it

class CeDeviceHandle : public CeObject {
public:
    CeDeviceHandle(std::string socket, std::u16string bus)
        : socket_(std::move(socket)), bus_(std::move(bus)) {}
    const std::string& Socket() const { return socket_; }
    const std::u16string& Bus() const { return bus_; }

private:
    std::string socket_;
    std::u16string bus_;
};

// Bus names are single names ("UFN1:"), so a file path is never taken for one.
bool IsBusName(const std::u16string& s) {
    return !s.empty() && s.size() <= kMaxBusName && s.find(u'\\') == std::u16string::npos &&
           s.find(u'/') == std::u16string::npos;
}

void Copy(WCHAR* dest, size_t cap, const std::u16string& s) {
    size_t n = std::min(s.size(), cap - 1);
    std::memcpy(dest, s.data(), n * sizeof(WCHAR));
    dest[n] = 0;
}

bool Publish() {
    std::vector<CeProcessRecord::Device> list;
    Registry& r = TheRegistry();
    for (const auto& [key, served] : r.devices)
        list.push_back({served.guid, served.busName, served.busName});
    return CeProcessRecord::SetDevices(list);
}

void HandleIo(CeIpcBuffer& in, CeIpcBuffer& out) {
    std::u16string bus;
    uint32_t code = 0, outSize = 0;
    std::vector<uint8_t> input;
    if (!in.GetText(bus) || !in.GetU32(code) || !in.GetBytes(input) || !in.GetU32(outSize) ||
        outSize > CeIpcChannel::kMaxFrame / 2)
        return; // empty reply: refused
    CeDeviceHandler handler;
    {
        Registry& r = TheRegistry();
        std::lock_guard<std::mutex> guard(r.lock);
        auto it = r.devices.find(CeSharedText::Fold(bus));
        if (it != r.devices.end())
            handler = it->second.handler;
    }
    if (!handler)
        return;
    std::vector<BYTE> output;
    SetLastError(ERROR_SUCCESS);
    BOOL ok = handler(code, input, output, outSize);
    if (output.size() > outSize)
        output.resize(outSize);
    out.PutU32(ok ? 1 : 0);
    out.PutU32(ok ? 0 : GetLastError());
    out.PutBytes(output.data(), output.size());
}
} // namespace

bool CeRegisterDevice(const GUID& guid, LPCWSTR busName, CeDeviceHandler handler) {
    std::u16string bus = CeSharedText::FromPtr(busName, kMaxBusName + 1);
    if (!IsBusName(bus) || !handler)
        return false;
    std::string dir = CeSharedDir::Get("devices");
    if (dir.empty())
        return false;
    Served served{guid, bus, std::move(handler), CeFileLock()};
    // One server per bus name on the device, even when two start at once.
    const std::string lockName = CeSharedText::FileName(bus);
    if (!served.owner.Lock(dir + "/" + lockName + ".lock", CeFileLock::Mode::Exclusive, false))
        return false;
    CeIpcServer::SetHandler(CeIpcServer::kDeviceIo, HandleIo);
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.lock);
    if (!r.devices.emplace(CeSharedText::Fold(bus), std::move(served)).second)
        return false;
    return Publish();
}

bool CeUnregisterDevice(LPCWSTR busName) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.lock);
    if (r.devices.erase(CeSharedText::Fold(CeSharedText::FromPtr(busName))) == 0)
        return false;
    return Publish();
}

namespace {
// Any program that opens a device also calls DeviceIoControl or serves one, so this
// file and with it the registration are always linked in where devices are used.
[[maybe_unused]] const bool g_openerRegistered =
    (CeSetFileOpener(&CeDeviceManager::OpenByBusName), true);
} // namespace

bool CeDeviceManager::OpenByBusName(LPCWSTR name, DWORD, DWORD, DWORD disposition, HANDLE& handle) {
    std::u16string bus = CeSharedText::FromPtr(name, kMaxBusName + 1);
    if (bus.empty() || bus.size() > kMaxBusName)
        return false;
    for (const auto& e : CeProcessRecord::Live(true)) {
        for (const auto& d : e.devices) {
            if (!CeSharedText::EqualNoCase(d.busName, bus))
                continue;
            if (disposition != OPEN_EXISTING && disposition != OPEN_ALWAYS) {
                SetLastError(ERROR_ACCESS_DENIED); // devices are opened, never created
                handle = INVALID_HANDLE_VALUE;
                return true;
            }
            handle = CeHandleTable::Insert(std::make_unique<CeDeviceHandle>(e.SocketName(), bus));
            return true;
        }
    }
    return false;
}

HANDLE FindFirstDevice(DeviceSearchType searchType, LPCVOID pvSearchParam,
                       PDEVMGR_DEVICE_INFORMATION pdi) {
    if (searchType != DeviceSearchByGuid || pvSearchParam == nullptr || pdi == nullptr ||
        pdi->dwSize < sizeof(DEVMGR_DEVICE_INFORMATION)) {
        SetLastError(searchType != DeviceSearchByGuid ? ERROR_NOT_SUPPORTED
                                                      : ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    GUID wanted;
    std::memcpy(&wanted, pvSearchParam, sizeof wanted);
    for (const auto& e : CeProcessRecord::Live(true)) {
        for (const auto& d : e.devices) {
            if (!CeProcessRecord::SameGuid(d.guid, wanted))
                continue;
            DWORD size = pdi->dwSize;
            std::memset(pdi, 0, sizeof *pdi);
            pdi->dwSize = size;
            pdi->hDevice = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(e.pid));
            std::u16string legacy = d.busName.substr(0, 5);
            Copy(pdi->szLegacyName, 6, legacy);
            Copy(pdi->szDeviceKey, MAX_PATH, u"Drivers\\Active\\" + d.busName);
            Copy(pdi->szDeviceName, MAX_PATH, d.deviceName);
            Copy(pdi->szBusName, MAX_PATH, d.busName);
            return CeHandleTable::Insert(std::make_unique<CeDeviceSearch>());
        }
    }
    SetLastError(kErrorNoMoreDevices);
    return INVALID_HANDLE_VALUE;
}

BOOL DeviceIoControl(HANDLE hDevice, DWORD dwIoControlCode, LPVOID lpInBuffer, DWORD nInBufferSize,
                     LPVOID lpOutBuffer, DWORD nOutBufferSize, LPDWORD lpBytesReturned,
                     LPOVERLAPPED) {
    std::shared_ptr<CeDeviceHandle> device = CeHandleTable::Lookup<CeDeviceHandle>(hDevice);
    if (device == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if ((lpInBuffer == nullptr && nInBufferSize != 0) ||
        (lpOutBuffer == nullptr && nOutBufferSize != 0) ||
        nInBufferSize > CeIpcChannel::kMaxFrame / 2 ||
        nOutBufferSize > CeIpcChannel::kMaxFrame / 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CeIpcBuffer request;
    request.PutU32(CeIpcServer::kDeviceIo);
    request.PutText(device->Bus());
    request.PutU32(dwIoControlCode);
    request.PutBytes(lpInBuffer, nInBufferSize);
    request.PutU32(nOutBufferSize);
    std::string replyData;
    uint32_t ok = 0, error = 0;
    std::vector<uint8_t> output;
    if (!CeIpcChannel::Call(device->Socket(), request.Data(), replyData, kIoTimeoutMs)) {
        SetLastError(kErrorNotReady); // the serving process is gone or stuck
        return FALSE;
    }
    CeIpcBuffer reply(std::move(replyData));
    if (!reply.GetU32(ok) || !reply.GetU32(error) || !reply.GetBytes(output) ||
        output.size() > nOutBufferSize) {
        SetLastError(kErrorNotReady); // no longer served there
        return FALSE;
    }
    if (!output.empty())
        std::memcpy(lpOutBuffer, output.data(), output.size());
    if (lpBytesReturned != nullptr)
        *lpBytesReturned = static_cast<DWORD>(output.size());
    if (!ok)
        SetLastError(error);
    return ok ? TRUE : FALSE;
}
