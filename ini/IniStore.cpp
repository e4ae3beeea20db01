#include "IniStore.h"

#include "IniDocument.h"
#include "ini/IniFile.h"

IniStore::Entry IniStore::Open(LPCWSTR path, bool forWriting) {
    Close();
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        // Any other refusal is the file layer's for a link, which it never follows.
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                       error == ERROR_INVALID_PARAMETER || error == ERROR_INVALID_NAME ||
                       error == ERROR_FILENAME_EXCED_RANGE
                   ? Entry::Missing
                   : Entry::NotPlain;
    }
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))
        return Entry::NotPlain;
    const DWORD access = GENERIC_READ | (forWriting ? GENERIC_WRITE : 0);
    file_ = CreateFileW(path, access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_ACCESS_DENIED    ? Entry::NotPlain
               : error == ERROR_FILE_NOT_FOUND ? Entry::Missing
                                               : Entry::Busy;
    }
    DWORD high = 0;
    size_ = GetFileSize(file_, &high);
    if (size_ == INVALID_FILE_SIZE && GetLastError() != ERROR_SUCCESS) {
        Close();
        return Entry::Busy;
    }
    if (high != 0 || size_ < 2 || size_ > kIniMaxFileBytes)
        return Entry::Plain; // checked before anything is read
    bytes_.assign(2, '\0');
    DWORD read = 0;
    if (!ReadFile(file_, bytes_.data(), 2, &read, nullptr) || read != 2) {
        Close();
        return Entry::Busy;
    }
    return bytes_ == IniDocument::kMark ? Entry::Ini : Entry::Plain;
}

bool IniStore::Load(LPCWSTR path, bool forWriting) {
    if (Open(path, forWriting) != Entry::Ini) {
        Close();
        return false;
    }
    bytes_.resize(size_);
    const DWORD rest = size_ - 2;
    DWORD read = 0;
    if (!ReadFile(file_, bytes_.data() + 2, rest, &read, nullptr) || read != rest) {
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

bool IniStore::Replace(LPCWSTR path, const std::string& bytes, bool overwrite) {
    const std::u16string temp = std::u16string(path) + u"~";
    HANDLE out = bytes.size() <= kIniMaxFileBytes ? CreateTemp(temp) : INVALID_HANDLE_VALUE;
    bool ok = out != INVALID_HANDLE_VALUE;
    DWORD written = 0;
    ok = ok && WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
    ok = ok && FlushFileBuffers(out);
    // Renamed while still open, so that no other writer can take the name meanwhile.
    const DWORD flags = (overwrite ? MOVEFILE_REPLACE_EXISTING : 0) | MOVEFILE_WRITE_THROUGH;
    ok = ok && MoveFileExW(temp.c_str(), path, flags);
    const DWORD error = GetLastError();
    if (out != INVALID_HANDLE_VALUE) {
        CloseHandle(out);
        if (!ok)
            DeleteFileW(temp.c_str()); // our own; another writer's is held and stays
    }
    Close();
    SetLastError(error);
    return ok;
}

HANDLE IniStore::CreateTemp(const std::u16string& temp) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        // Looked at first, read-only, so that what lies there is never opened for
        // writing nor reported as a file that cannot be written.
        IniStore there;
        switch (there.Open(temp.c_str(), false)) {
        case Entry::Missing:
            break;
        case Entry::Busy: // another writer's, or it cannot be looked at
            return INVALID_HANDLE_VALUE;
        case Entry::Plain:
        case Entry::Ini: // a killed writer's leftover goes
            there.Close();
            if (DeleteFileW(temp.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND)
                break;
            if (GetLastError() == ERROR_SHARING_VIOLATION)
                return INVALID_HANDLE_VALUE;
            [[fallthrough]]; // a read-only file
        case Entry::NotPlain:
            if (!SetAside(temp.c_str(), u"is not a plain file"))
                return INVALID_HANDLE_VALUE;
            break;
        }
        HANDLE out = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (out != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return out; // else another writer took the name meanwhile: look again
    }
    return INVALID_HANDLE_VALUE;
}

bool IniStore::SetAside(LPCWSTR path, const char16_t* why) {
    for (int n = 1; n < 100; ++n) {
        std::u16string aside = std::u16string(path) + u".bad";
        for (char c : n > 1 ? std::to_string(n) : std::string())
            aside += static_cast<char16_t>(c);
        if (MoveFileExW(path, aside.c_str(), 0)) {
            const std::u16string line =
                std::u16string(path) + u" " + why + u"; set aside as " + aside;
            OutputDebugStringW(line.c_str());
            return true;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}
