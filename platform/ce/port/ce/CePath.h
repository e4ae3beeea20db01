// CE paths to host paths. The device root (CE_DEVICE_ROOT, else
// $XDG_DATA_HOME/<product>/device, else ~/.local/share/<product>/device) is the
// writable upper layer; read-only mounts (an install folder's assets seen under a CE
// folder) lie below it. Names match without regard to case; no path leaves the root.
//
// Mounts come from AddMount, from the environment variable CE_MOUNTS and from a file
// named "<executable>.mounts" beside the running executable: lines (or ';'-separated
// entries) "CE folder=host folder"; a relative host folder is taken from the folder
// of the file (or the working folder, for the variable). Empty lines and lines
// starting with '#' are skipped.
#pragma once

#include "ce/CePort.h"

#include "ce/CeTypes.h"

#include <string>
#include <vector>

// Where a CE path lands. Reads see the union of the layers (device root first);
// writes and creation go to the device root.
struct CeLocation {
    enum class Kind {
        Missing, // in no layer
        Upper,   // in the device root
        Mount,   // only in a read-only mount
        Virtual, // a folder that exists only as the parent of a mount
        Root,    // the device root itself
    };
    Kind kind = Kind::Missing;
    bool isDir = false;
    bool parentExists = false;           // the CE folder holding the entry exists in a layer
    std::string hostPath;                // where it was found; for Missing, upperPath
    std::string upperPath;               // where it is or would be in the device root
    std::u16string name;                 // last component as found on disk (or as given)
    std::vector<std::u16string> ceNames; // the normalised components
    size_t upperMatched = 0;             // how many leading components exist in the root
    // When Locate refuses the path because its last name in the device root is a link:
    // the link itself (which may be renamed, never followed).
    std::string linkPath;
};

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

    // Resolves a path in the union of the layers. False with a CE error for a bad path
    // (ERROR_INVALID_PARAMETER, ERROR_PATH_NOT_FOUND for an empty one,
    // ERROR_FILENAME_EXCED_RANGE, ERROR_INVALID_NAME, ERROR_ACCESS_DENIED for a link).
    static bool Locate(LPCWSTR cePath, CeLocation& loc, DWORD& error);
    // Makes the device-root folders that hold loc.upperPath when its CE folder exists.
    static bool MakeUpperParent(const CeLocation& loc, DWORD& error);
    // True when the host entry exists and this process may not write it (no owner
    // write bit, or access() refuses); false for a missing entry.
    static bool IsReadOnlyHost(const std::string& hostPath);
    static std::string ParentOf(const std::string& hostPath);
    // The host folders that hold a CE folder's entries, device root first, and the
    // names of mount folders that appear in it without a host folder.
    static void LayerFolders(const std::vector<std::u16string>& ceNames,
                             std::vector<std::string>& hostFolders,
                             std::vector<std::u16string>& virtualNames);
};
