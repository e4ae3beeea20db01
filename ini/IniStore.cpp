#include "IniStore.h"

bool IniStore::Load(LPCWSTR path, bool forWriting) {
    Close();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    DWORD access = GENERIC_READ | (forWriting ? GENERIC_WRITE : 0);
    file_ = CreateFileW(path, access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE)
        return false;
    DWORD high = 0;
    DWORD size = GetFileSize(file_, &high);
    if (size == INVALID_FILE_SIZE || high != 0 || size < 2) {
        Close();
        return false;
    }
    bytes_.assign(size, '\0');
    DWORD read = 0;
    if (!ReadFile(file_, bytes_.data(), size, &read, nullptr) || read != size) {
        Close();
        return false;
    }
    return true;
}

void IniStore::Close() {
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
}

bool IniStore::Replace(LPCWSTR path, const std::string& bytes) {
    // Only the holder of the open file writes its temporary file, so one name per file
    // serves. Whatever is found there (left by a killed writer, or planted: a link to
    // another file) is removed, never written through; the temporary file is always new.
    std::u16string temp = std::u16string(path) + u"~";
    HANDLE out = INVALID_HANDLE_VALUE;
    if (DeleteFileW(temp.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND)
        out = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    bool ok = out != INVALID_HANDLE_VALUE;
    DWORD written = 0;
    ok = ok && WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
    ok = ok && FlushFileBuffers(out);
    if (out != INVALID_HANDLE_VALUE)
        CloseHandle(out);
    ok = ok && MoveFileExW(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok && out != INVALID_HANDLE_VALUE)
        DeleteFileW(temp.c_str());
    Close();
    return ok;
}
