// The folder under the device root where the processes of one device keep what
// they share: <device root>/.ce/<part>/. Also the few file operations that the
// shared objects need (atomic replace, whole-file read), all through CeSafeDir: no
// link is followed and only regular files are read.
#pragma once

#include "ce/CePort.h"

#include <cstddef>
#include <string>

class CeSharedDir {
public:
    // "<device root>/.ce/<part>", created if missing; "" when it cannot be made.
    // Anything of the wrong kind in the way is set aside and made anew; .ce is
    // private to this user (0700).
    static std::string Get(const std::string& part);
    // The same path, never created: for readers, who must leave the root untouched.
    static std::string Path(const std::string& part);
    static std::string Root();
    static bool MakeDirs(const std::string& path);
    // The whole file; false when it holds more than limit bytes (nothing is read).
    static bool ReadFile(const std::string& path, std::string& data, size_t limit);
    // Writes a temporary file, syncs it, renames it over path and syncs the folder,
    // so a crash leaves either the old or the new content, never a mix. Without
    // durable (state that dies with its processes anyway) the syncs are skipped:
    // readers still see the old or the new content, never a mix.
    static bool ReplaceFile(const std::string& path, const std::string& data, bool durable = true);
    static bool RemoveFile(const std::string& path);
};
