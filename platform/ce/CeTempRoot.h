// For tests: a fresh device root in a temporary folder, set through CE_DEVICE_ROOT for
// the life of the object (mounts are forgotten), and removed with everything in it.
#pragma once

#include <string>

class CeTempRoot {
public:
    CeTempRoot();
    ~CeTempRoot();
    CeTempRoot(const CeTempRoot&) = delete;
    CeTempRoot& operator=(const CeTempRoot&) = delete;

    const std::string& Path() const { return path_; }
    // Host path of a relative path below the root ("Disk/a.ini").
    std::string Host(const std::string& relative) const { return path_ + "/" + relative; }
    // Writes or reads a host file below the root directly, bypassing the layer.
    void Put(const std::string& relative, const std::string& bytes) const;
    std::string Get(const std::string& relative) const;
    bool Exists(const std::string& relative) const;
    void MakeDir(const std::string& relative) const;

private:
    std::string path_;
    std::string oldRoot_;
    bool hadRoot_ = false;
};
