#include "ce/CeHandleTable.h"

#include <mutex>
#include <unordered_map>

namespace {

struct Table {
    std::mutex lock;
    std::unordered_map<uintptr_t, std::shared_ptr<CeObject>> objects;
    uintptr_t next = 0x100; // small values and -1 are never handles
};

Table& TheTable() {
    static Table* table = new Table; // outlives static destructors that still close handles
    return *table;
}

} // namespace

HANDLE CeHandleTable::Insert(std::unique_ptr<CeObject> object) {
    Table& t = TheTable();
    std::lock_guard<std::mutex> guard(t.lock);
    uintptr_t id = t.next;
    t.next += 4;
    t.objects.emplace(id, std::move(object));
    return reinterpret_cast<HANDLE>(id);
}

std::shared_ptr<CeObject> CeHandleTable::Find(HANDLE h) {
    Table& t = TheTable();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.objects.find(reinterpret_cast<uintptr_t>(h));
    return it == t.objects.end() ? nullptr : it->second;
}

bool CeHandleTable::Close(HANDLE h) {
    std::shared_ptr<CeObject> victim;
    {
        Table& t = TheTable();
        std::lock_guard<std::mutex> guard(t.lock);
        auto it = t.objects.find(reinterpret_cast<uintptr_t>(h));
        if (it == t.objects.end())
            return false;
        victim = std::move(it->second);
        t.objects.erase(it);
    }
    return true; // released outside the lock
}

size_t CeHandleTable::Count() {
    Table& t = TheTable();
    std::lock_guard<std::mutex> guard(t.lock);
    return t.objects.size();
}
