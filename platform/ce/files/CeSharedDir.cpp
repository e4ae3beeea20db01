#include "ce/CeSharedDir.h"

#include "ce/CePath.h"
#include "files/CeSafeDir.h"

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
    return MakeDirs(dir) ? dir : "";
}

bool CeSharedDir::ReadFile(const std::string& path, std::string& data) {
    data.clear();
    std::string name;
    return CeSafeDir::OpenParent(path, name).Read(name, data);
}

bool CeSharedDir::ReplaceFile(const std::string& path, const std::string& data, bool durable) {
    std::string name;
    return CeSafeDir::OpenParent(path, name).Replace(name, data, durable);
}

bool CeSharedDir::RemoveFile(const std::string& path) {
    std::string name;
    return CeSafeDir::OpenParent(path, name).Remove(name);
}
