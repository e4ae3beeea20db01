// An open registry key: a handle-table object that names the key's folder.
#pragma once

#include "core/CeInside.h"

#include "ce/CeHandleTable.h"

#include <string>

class CeRegKey : public CeObject {
public:
    explicit CeRegKey(std::string folder) : folder_(std::move(folder)) {}
    const std::string& Folder() const { return folder_; }
    // The folder behind a predefined root or an open key; "" for a bad key.
    static std::string FolderOf(HKEY key);

private:
    std::string folder_;
};
