// For tests and fuzz targets: a fresh device root in a temporary folder, set through
// CE_DEVICE_ROOT for the life of the object (mounts are forgotten) and removed with
// everything in it. XDG_CONFIG_HOME points into it meanwhile, so that nothing a test
// starts reads or writes the user's own config files. It lies in memory (/dev/shm) when the host
// has that, since a long run rewrites its files millions of times.
#pragma once

#include <string>

class TestDeviceRoot {
public:
    TestDeviceRoot();
    ~TestDeviceRoot();
    TestDeviceRoot(const TestDeviceRoot&) = delete;
    TestDeviceRoot& operator=(const TestDeviceRoot&) = delete;

    // Empty when no folder could be made (the device root is then left as it was,
    // and the helpers below write nothing).
    const std::string& Path() const { return path_; }
    // XDG_CONFIG_HOME while the object lives: "<root>/.config" (not made).
    std::string ConfigHome() const { return path_ + "/.config"; }
    // Host path of a relative path below the root ("Disk/a.ini").
    std::string Host(const std::string& relative) const { return path_ + "/" + relative; }
    // Writes or reads a host file below the root directly, bypassing the layer.
    void Put(const std::string& relative, const std::string& bytes) const;
    std::string Get(const std::string& relative) const;
    bool Exists(const std::string& relative) const;
    void MakeDir(const std::string& relative) const;
    bool MakeFifo(const std::string& relative) const; // and its folders
    // Lets other users read a file and reach it (and every folder on its way from the
    // root), as an older version left its root.
    void OpenToOthers(const std::string& relative) const;

private:
    std::string path_;
    std::string oldRoot_;
    bool hadRoot_ = false;
    std::string oldConfig_;
    bool hadConfig_ = false;
};
