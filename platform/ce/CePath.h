// CE paths to host paths. The device root (CE_DEVICE_ROOT, else
// $XDG_DATA_HOME/burrowbop/device, else ~/.local/share/burrowbop/device) is the
// writable upper layer; read-only mounts (an install folder's assets seen under a CE
// folder) lie below it. Names match without regard to case; no path leaves the root.
#pragma once

#include "ce/CeTypes.h"

#include <string>

class CePath {
public:
    enum class Use { Read, Write };
    // Maps a CE path to the host path to use. For Write the result is always in the
    // device root (parent folders of the upper layer are made as needed when the CE
    // folder exists in any layer). Returns false with a CE error code on a bad path
    // (null, empty, too long, "..", escaping the root).
    static bool Map(LPCWSTR cePath, Use use, std::string& hostPath, DWORD& error);
    static std::string DeviceRoot();
    // Adds a read-only mount: CE folder prefix -> host folder.
    static void AddMount(const std::u16string& ceFolder, const std::string& hostFolder);
    static void ResetForTests(); // forgets the root and mounts, rereads the environment
};
