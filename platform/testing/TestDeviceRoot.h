// A temporary device root for long runs such as fuzz targets: like CeTempRoot, set
// through CE_DEVICE_ROOT for the life of the object and removed with everything in
// it, but in memory (/dev/shm) when the host has that, since such a run rewrites its
// files millions of times.
#pragma once

#include <string>

class TestDeviceRoot {
public:
    TestDeviceRoot();
    ~TestDeviceRoot();
    TestDeviceRoot(const TestDeviceRoot&) = delete;
    TestDeviceRoot& operator=(const TestDeviceRoot&) = delete;

    // Empty when no folder could be made (the device root is then left as it was).
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::string oldRoot_;
    bool hadRoot_ = false;
};
