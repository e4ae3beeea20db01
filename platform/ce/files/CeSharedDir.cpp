#include "ce/CeSharedDir.h"

#include "ce/CeHostFs.h"
#include "ce/CePath.h"
#include "files/CeSafeDir.h"

#include <mutex>
#include <set>

std::string CeSharedDir::Root() {
    return CePath::DeviceRoot();
}

bool CeSharedDir::MakeDirs(const std::string& path) {
    return CeSafeDir::Open(path, true).Valid();
}

std::string CeSharedDir::Path(const std::string& part) {
    std::string root = Root();
    return root.empty() ? "" : root + "/.ce/" + part;
}

std::string CeSharedDir::Get(const std::string& part) {
    std::string root = Root();
    if (root.empty())
        return "";
    std::string dir = root + "/.ce/" + part;
    if (!MakeDirs(dir))
        return "";
    // A .ce made by an older version or by hand is made private once per run.
    static auto* lock = new std::mutex; // used by static destructors that close windows
    static auto* done = new std::set<std::string>;
    std::lock_guard<std::mutex> guard(*lock);
    if (done->insert(root).second) {
        const CeSafeDir shared = CeSafeDir::Open(root + "/.ce", false);
        if (shared.Valid())
            CeHostFs::MakePrivate(shared.Fd());
    }
    return dir;
}

bool CeSharedDir::ReadFile(const std::string& path, std::string& data, size_t limit) {
    data.clear();
    std::string name;
    return CeSafeDir::OpenParent(path, name).Read(name, data, limit);
}

bool CeSharedDir::ReplaceFile(const std::string& path, const std::string& data, bool durable) {
    std::string name;
    return CeSafeDir::OpenParent(path, name).Replace(name, data, durable);
}

bool CeSharedDir::RemoveFile(const std::string& path) {
    std::string name;
    return CeSafeDir::OpenParent(path, name).Remove(name);
}
