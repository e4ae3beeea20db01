// An open file: the host descriptor and the access it was opened with.
#pragma once

#include "core/CeInside.h"

#include "ce/CeHandleTable.h"

class CeFileObject : public CeObject {
public:
    CeFileObject(int fd, DWORD access) : fd_(fd), access_(access) {}
    ~CeFileObject() override;
    CeFileObject(const CeFileObject&) = delete;
    CeFileObject& operator=(const CeFileObject&) = delete;

    int Fd() const { return fd_; }
    bool CanRead() const { return access_ & GENERIC_READ; }
    bool CanWrite() const { return access_ & GENERIC_WRITE; }
    // Made, emptied or written through this handle: the change is kept once it closes.
    void MarkChanged() { changed_ = true; }

private:
    int fd_;
    DWORD access_;
    bool changed_ = false;
};
