// The device manager of the device root. A process serves a device by registering
// it (CeRegisterDevice); others find it by class GUID (FindFirstDevice), open it by
// its bus name (CreateFileW) and send it control codes (DeviceIoControl), which run
// in the serving process, on one of its request threads.
#pragma once

#include "ce/CePort.h"

#include "ce/CeTypes.h"

#include <functional>
#include <string>
#include <vector>

// Handles one control code: reads in, fills out (at most outSize bytes); the
// return value is DeviceIoControl's.
using CeDeviceHandler = std::function<BOOL(DWORD code, const std::vector<BYTE>& in,
                                           std::vector<BYTE>& out, DWORD outSize)>;

// Serves a device from this process until CeUnregisterDevice or the process's end.
// False when the bus name is empty or already served by a living process.
bool CeRegisterDevice(const GUID& guid, LPCWSTR busName, CeDeviceHandler handler);
bool CeUnregisterDevice(LPCWSTR busName);

class CeDeviceManager {
public:
    // CreateFileW's opener for the device namespace, registered as its CeFileOpener
    // at start-up: true (with a handle, or INVALID_HANDLE_VALUE and the last error
    // set) when the name is the bus name of a served device, false when the name is
    // not a device's.
    static bool OpenByBusName(LPCWSTR name, DWORD access, DWORD share, DWORD disposition,
                              HANDLE& handle);
};
