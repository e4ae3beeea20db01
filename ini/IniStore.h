// File access for the INI operations: looking at what lies at a path, loading a whole
// file through the CE file calls while holding it open (other readers allowed, other
// writers shut out), and putting new bytes in its place without ever leaving a
// half-written file: a temporary file in the same folder, flushed, renamed over the
// old one, and the folder flushed.
//
// The temporary file ("<name>~") is always made new and stays open, shutting out every
// other writer, until it has been renamed: two writers never write or rename each
// other's, whether or not they hold the file itself.
#pragma once

#include "ce/ce.h"

#include <string>

class IniStore {
public:
    // What lies at a path, seen without following a link or waiting on a FIFO.
    enum class Entry {
        Missing,  // nothing (or no folder)
        Busy,     // in another writer's hands, or it could not be looked at
        NotPlain, // a link, a folder, a FIFO, or a file that cannot be opened
        Plain,    // a regular file that is no INI file: no mark, or over the size limit
        Ini,      // a regular file with the mark, within the size limit
    };

    IniStore() = default;
    ~IniStore() { Close(); }
    IniStore(const IniStore&) = delete;
    IniStore& operator=(const IniStore&) = delete;

    // Opens the file (reading, or reading and writing) and tells what lies there; a
    // Plain or Ini file stays open until Close.
    Entry Open(LPCWSTR path, bool forWriting);
    // Opens and reads the whole of an INI file; the file stays open until Close.
    bool Load(LPCWSTR path, bool forWriting);
    const std::string& Bytes() const { return bytes_; }
    void Close();

    // Replaces the file at path by bytes, atomically; the old file stays as it was on
    // any failure. Without overwrite it only makes a file where there was none.
    // Closes the loaded file afterwards.
    bool Replace(LPCWSTR path, const std::string& bytes, bool overwrite = true);

    // Moves whatever lies at path (never following it) to a free name beside it,
    // "<name>.bad", "<name>.bad2", ..., and tells so on stderr, with why.
    static bool SetAside(LPCWSTR path, const char16_t* why);

private:
    // Makes the temporary file new, clearing its name first: a killed writer's plain
    // file is removed, anything else is set aside; another writer's is left alone.
    static HANDLE CreateTemp(const std::u16string& temp);

    HANDLE file_ = INVALID_HANDLE_VALUE;
    DWORD size_ = 0;
    std::string bytes_;
};
