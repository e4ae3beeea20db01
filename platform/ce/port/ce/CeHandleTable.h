// The process's table of kernel-object handles. Every kind of object a HANDLE can
// name (file, find search, mutex, device, registry key) derives from CeObject, so
// that CloseHandle and FindClose work on any of them and a stale or forged handle
// is refused instead of dereferenced.
#pragma once

#include "ce/CePort.h"

#include "ce/CeTypes.h"

#include <memory>

class CeObject {
public:
    virtual ~CeObject() = default;
};

class CeHandleTable {
public:
    static HANDLE Insert(std::unique_ptr<CeObject> object);
    // The object behind a handle if it is of type T, else null. The caller shares
    // ownership, so a CloseHandle on another thread never frees it while in use.
    template <typename T> static std::shared_ptr<T> Lookup(HANDLE h) {
        return std::dynamic_pointer_cast<T>(Find(h));
    }
    // Removes the handle; the object dies with its last user. False for an unknown handle.
    static bool Close(HANDLE h);
    static size_t Count();

private:
    static std::shared_ptr<CeObject> Find(HANDLE h);
};
