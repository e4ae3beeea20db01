#include "objects/CeMutex.h"

#include "ce/CeFile.h"
#include "ce/CeSharedDir.h"
#include "ce/CeSync.h"
#include "ce/CeUtf16.h"
#include "files/CeFileLock.h"
#include "objects/CeSharedText.h"

#include <map>
#include <mutex>
#include <thread>

namespace {
constexpr DWORD kErrorNotOwner = 288;

std::mutex& NamesLock() {
    static std::mutex* m = new std::mutex;
    return *m;
}

// Keyed by "<device root>\n<folded name>" so a changed root never shares a name.
std::map<std::string, std::weak_ptr<CeMutex::Name>>& Names() {
    static auto* names = new std::map<std::string, std::weak_ptr<CeMutex::Name>>;
    return *names;
}

} // namespace

struct CeMutex::Name {
    CeFileLock hold; // empty for an unnamed mutex
    std::mutex lock;
    std::thread::id owner;
    int count = 0;
};

std::unique_ptr<CeMutex> CeMutex::Open(const std::u16string& name, bool& isNew, bool& ok) {
    auto m = std::make_unique<CeMutex>();
    ok = true;
    isNew = true;
    if (name.empty()) {
        m->name_ = std::make_shared<Name>();
        return m;
    }
    std::string dir = CeSharedDir::Get("mutex");
    if (dir.empty()) {
        ok = false;
        return nullptr;
    }
    std::u16string folded = CeSharedText::Fold(name);
    std::string key = dir + "\n" + CeUtf16::ToUtf8(folded);
    std::lock_guard<std::mutex> guard(NamesLock());
    if (auto existing = Names()[key].lock()) {
        m->name_ = existing;
        isNew = false;
        return m;
    }
    CeFileLock creating;
    if (!creating.Lock(dir + "/.create.lock", CeFileLock::Mode::Exclusive, true)) {
        ok = false;
        return nullptr;
    }
    auto state = std::make_shared<Name>();
    std::string path = dir + "/" + CeSharedText::FileName(folded);
    // An exclusive probe succeeds only when no process holds the name.
    if (state->hold.Lock(path, CeFileLock::Mode::Exclusive, false)) {
        isNew = true;
    } else {
        isNew = false;
    }
    // Every holder keeps a shared lock; the creation lock makes this switch safe.
    if (!state->hold.Lock(path, CeFileLock::Mode::Shared, false)) {
        ok = false;
        return nullptr;
    }
    Names()[key] = state;
    m->name_ = state;
    return m;
}

bool CeMutex::TakeOwnership() {
    std::lock_guard<std::mutex> guard(name_->lock);
    if (name_->count > 0 && name_->owner != std::this_thread::get_id())
        return false;
    name_->owner = std::this_thread::get_id();
    ++name_->count;
    return true;
}

bool CeMutex::Release() {
    std::lock_guard<std::mutex> guard(name_->lock);
    if (name_->count == 0 || name_->owner != std::this_thread::get_id())
        return false;
    --name_->count;
    return true;
}

HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL bInitialOwner, LPCWSTR lpName) {
    std::u16string name = CeSharedText::FromPtr(lpName, MAX_PATH + 1);
    if (name.size() > MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    bool isNew = false;
    bool ok = false;
    std::unique_ptr<CeMutex> m = CeMutex::Open(name, isNew, ok);
    if (!ok || !m) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    // As on the phone, only the creator of a new mutex gets the initial ownership.
    if (bInitialOwner && isNew)
        m->TakeOwnership();
    HANDLE h = CeHandleTable::Insert(std::move(m));
    SetLastError(isNew ? ERROR_SUCCESS : ERROR_ALREADY_EXISTS);
    return h;
}

BOOL ReleaseMutex(HANDLE hMutex) {
    std::shared_ptr<CeMutex> m = CeHandleTable::Lookup<CeMutex>(hMutex);
    if (m == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!m->Release()) {
        SetLastError(kErrorNotOwner);
        return FALSE;
    }
    return TRUE;
}
