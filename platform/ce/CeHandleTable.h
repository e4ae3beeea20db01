// The process's table of kernel-object handles. Every kind of object a HANDLE can
// name (file, find search, mutex, device, registry key) derives from CeObject, so
// that CloseHandle and FindClose work on any of them and a stale or forged handle
// is refused instead of dereferenced.
#pragma once

#include "ce/CeTypes.h"

#include <memory>

class CeObject {
public:
    virtual ~CeObject() = default;
};

class CeHandleTable {
public:
    static HANDLE Insert(std::unique_ptr<CeObject> object);
    // The object behind a handle if it is of type T, else null.
    template <typename T> static T* Lookup(HANDLE h) { return dynamic_cast<T*>(Find(h)); }
    // Removes and destroys the object; false for an unknown handle.
    static bool Close(HANDLE h);
    static size_t Count();

private:
    static CeObject* Find(HANDLE h);
};
