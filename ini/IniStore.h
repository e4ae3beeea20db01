// File access for the INI operations: loading a whole file through the CE file calls
// while holding it open (other readers allowed, other writers shut out), and putting
// new bytes in its place without ever leaving a half-written file: a temporary file
// in the same folder, flushed, renamed over the old one, and the folder flushed.
#pragma once

#include "ce/ce.h"

#include <string>

class IniStore {
public:
    IniStore() = default;
    ~IniStore() { Close(); }
    IniStore(const IniStore&) = delete;
    IniStore& operator=(const IniStore&) = delete;

    // Finds, opens and reads the whole file; the file stays open until Close.
    bool Load(LPCWSTR path, bool forWriting);
    const std::string& Bytes() const { return bytes_; }
    void Close();

    // Replaces the file at path by bytes, atomically; the old file stays as it was on
    // any failure. Closes the loaded file afterwards.
    bool Replace(LPCWSTR path, const std::string& bytes);

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::string bytes_;
};
