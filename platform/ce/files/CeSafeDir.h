// A folder under the device root, opened so that nothing planted there can steer
// us: the walk from the root opens one component at a time relative to the folder
// before, never following a link, and only regular files and folders are accepted.
// Files open non-blocking, so a FIFO fails instead of hanging. The device root
// itself is the user's choice and is opened as named.
#pragma once

#include "core/CeInside.h"

#include <string>
#include <sys/types.h>
#include <vector>

class CeSafeDir {
public:
    CeSafeDir() = default;
    ~CeSafeDir();
    CeSafeDir(const CeSafeDir&) = delete;
    CeSafeDir& operator=(const CeSafeDir&) = delete;
    CeSafeDir(CeSafeDir&& other) noexcept;
    CeSafeDir& operator=(CeSafeDir&& other) noexcept;

    // Opens a folder at or below the device root. With repair, missing folders are
    // made and anything else in the way is set aside and made anew.
    static CeSafeDir Open(const std::string& path, bool repair);
    bool Valid() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    const std::string& Path() const { return path_; }

    // A regular file of this folder (flags as for open; O_NOFOLLOW, O_NONBLOCK and
    // O_CLOEXEC are added), made private. -1 with errno set; EINVAL for a file of the
    // wrong kind.
    int OpenFile(const std::string& name, int flags, mode_t mode = 0600) const;
    // OpenFile with O_CREAT; a wrong kind in the way is set aside and made anew.
    int OpenOrMake(const std::string& name, int flags) const;
    // The whole file; false (errno EFBIG) when it holds more than limit bytes.
    bool Read(const std::string& name, std::string& data, size_t limit) const;
    // Writes a new temporary file (never an existing one) and renames it over name;
    // durable syncs the file and the folder.
    bool Replace(const std::string& name, const std::string& data, bool durable) const;
    bool Remove(const std::string& name) const; // a file or link, never followed
    // Renames an entry out of the way and says so on stderr, once.
    bool SetAside(const std::string& name, const char* why) const;
    std::vector<std::string> List() const;
    // The folder of a host path, opened without repair, and the path's last name in
    // `name`; an invalid folder (on which every call fails) when the path has none.
    static CeSafeDir OpenParent(const std::string& path, std::string& name);

private:
    explicit CeSafeDir(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    int fd_ = -1;
    std::string path_;
};
