// The registry calls over CeRegistryStore.
#include "ce/CeRegistry.h"

#include "objects/CeRegKey.h"
#include "objects/CeRegistryStore.h"
#include "objects/CeSharedText.h"

#include <cstring>

namespace {
constexpr size_t kMaxValueName = 16383;
constexpr DWORD kMaxData = 64 * 1024; // the phone keeps larger data in files

HKEY NewKey(const std::string& folder) {
    return reinterpret_cast<HKEY>(CeHandleTable::Insert(std::make_unique<CeRegKey>(folder)));
}
} // namespace

std::string CeRegKey::FolderOf(HKEY key) {
    std::string root = CeRegistryStore::RootFolder(key);
    if (!root.empty())
        return root;
    std::shared_ptr<CeRegKey> open = CeHandleTable::Lookup<CeRegKey>(reinterpret_cast<HANDLE>(key));
    return open == nullptr ? "" : open->Folder();
}

namespace {

// The folder of a subkey of an open or predefined key.
LONG SubKeyFolder(HKEY hKey, LPCWSTR lpSubKey, std::string& folder) {
    std::string base = CeRegKey::FolderOf(hKey);
    if (base.empty())
        return ERROR_INVALID_HANDLE;
    if (!CeRegistryStore::Join(base, CeSharedText::FromPtr(lpSubKey), folder))
        return ERROR_INVALID_PARAMETER;
    return ERROR_SUCCESS;
}

} // namespace

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM, PHKEY phkResult) {
    if (phkResult == nullptr)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    std::string folder;
    if (LONG status = SubKeyFolder(hKey, lpSubKey, folder); status != ERROR_SUCCESS)
        return status;
    if (!CeRegistryStore::KeyExists(folder))
        return ERROR_FILE_NOT_FOUND;
    *phkResult = NewKey(folder);
    return ERROR_SUCCESS;
}

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, LPWSTR, DWORD, REGSAM,
                     LPSECURITY_ATTRIBUTES, PHKEY phkResult, LPDWORD lpdwDisposition) {
    if (phkResult == nullptr)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    std::string folder;
    if (LONG status = SubKeyFolder(hKey, lpSubKey, folder); status != ERROR_SUCCESS)
        return status;
    bool created = false;
    if (!CeRegistryStore::CreateKey(folder, created))
        return ERROR_ACCESS_DENIED;
    if (lpdwDisposition != nullptr)
        *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *phkResult = NewKey(folder);
    return ERROR_SUCCESS;
}

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD, LPDWORD lpType, BYTE* lpData,
                      LPDWORD lpcbData) {
    std::string folder = CeRegKey::FolderOf(hKey);
    if (folder.empty())
        return ERROR_INVALID_HANDLE;
    if (lpData != nullptr && lpcbData == nullptr)
        return ERROR_INVALID_PARAMETER;
    CeRegistryStore::Value v;
    if (!CeRegistryStore::ReadValue(folder, CeSharedText::FromPtr(lpValueName, kMaxValueName), v))
        return ERROR_FILE_NOT_FOUND;
    if (lpType != nullptr)
        *lpType = v.type;
    DWORD size = static_cast<DWORD>(v.data.size());
    if (lpData == nullptr) {
        if (lpcbData != nullptr)
            *lpcbData = size;
        return ERROR_SUCCESS;
    }
    DWORD room = *lpcbData;
    *lpcbData = size;
    if (room < size)
        return ERROR_MORE_DATA;
    if (size > 0)
        std::memcpy(lpData, v.data.data(), size);
    return ERROR_SUCCESS;
}

LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData,
                    DWORD cbData) {
    std::string folder = CeRegKey::FolderOf(hKey);
    if (folder.empty())
        return ERROR_INVALID_HANDLE;
    if ((lpData == nullptr && cbData != 0) || cbData > kMaxData)
        return ERROR_INVALID_PARAMETER;
    CeRegistryStore::Value v;
    v.name = CeSharedText::FromPtr(lpValueName, kMaxValueName);
    v.type = dwType;
    if (cbData > 0)
        v.data.assign(lpData, lpData + cbData);
    return CeRegistryStore::WriteValue(folder, v) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
    std::string folder = CeRegKey::FolderOf(hKey);
    if (folder.empty())
        return ERROR_INVALID_HANDLE;
    bool found = false;
    if (!CeRegistryStore::DeleteValue(folder, CeSharedText::FromPtr(lpValueName, kMaxValueName),
                                      found))
        return ERROR_ACCESS_DENIED;
    return found ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LONG RegCloseKey(HKEY hKey) {
    if (!CeRegistryStore::RootFolder(hKey).empty())
        return ERROR_SUCCESS; // predefined roots are never closed
    HANDLE h = reinterpret_cast<HANDLE>(hKey);
    if (CeHandleTable::Lookup<CeRegKey>(h) == nullptr)
        return ERROR_INVALID_HANDLE;
    CeHandleTable::Close(h);
    return ERROR_SUCCESS;
}
