// The device manager: drivers registered by device class, opened by bus name.
#pragma once

#include "ce/CeTypes.h"

HANDLE FindFirstDevice(DeviceSearchType searchType, LPCVOID pvSearchParam,
                       PDEVMGR_DEVICE_INFORMATION pdi);
BOOL DeviceIoControl(HANDLE hDevice, DWORD dwIoControlCode, LPVOID lpInBuffer, DWORD nInBufferSize,
                     LPVOID lpOutBuffer, DWORD nOutBufferSize, LPDWORD lpBytesReturned,
                     LPOVERLAPPED lpOverlapped);
