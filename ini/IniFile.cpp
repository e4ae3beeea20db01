#include "ini/IniFile.h"

#include "IniDocument.h"
#include "IniStore.h"
#include "ce/ce.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace {

bool Given(LPCWSTR s) {
    return s && *s;
}

std::u16string_view View(LPCWSTR s) {
    return std::u16string_view(s, wcslen(s));
}

// Runs an operation; running out of memory is one more failure.
template <typename Result, typename Op> Result Guarded(Result onFailure, Op op) {
    try {
        return op();
    } catch (const std::bad_alloc&) {
        return onFailure;
    } catch (const std::length_error&) {
        return onFailure;
    }
}

} // namespace

bool FileExists(LPCWSTR path) {
    if (!path)
        return false;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

int IniCreateFile(LPCWSTR path) {
    return Guarded(0, [&]() -> int {
        if (!path || wcslen(path) < 5)
            return 0;
        const std::u16string full(path);
        size_t dot = full.rfind(u'.');
        if (dot == std::u16string::npos)
            return 0;
        std::u16string ext = full.substr(dot);
        if (std::u16string(_wcsupr(ext.data())) != u".INI")
            return 0;
        size_t slash = full.rfind(u'\\');
        if (slash == std::u16string::npos || slash >= MAX_PATH)
            return 0;
        if (slash > 0 && !FileExists(full.substr(0, slash).c_str()))
            return 0;
        DWORD attributes = GetFileAttributesW(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
        // The file is held from the look to the replace, shutting out other writers.
        IniStore store;
        const std::string mark(IniDocument::kMark);
        switch (store.Open(path, false)) {
        case IniStore::Entry::Ini:
            return 1;
        case IniStore::Entry::Busy: // in use, not broken: its content is unknown
            return 0;
        case IniStore::Entry::Missing:
            // Made only where there is still nothing: another writer's new file stays.
            if (store.Replace(path, mark, false))
                return 1;
            return GetLastError() == ERROR_ALREADY_EXISTS &&
                           store.Open(path, false) == IniStore::Entry::Ini
                       ? 1
                       : 0;
        default: // a file without the mark is replaced as a whole, never left half-made
            return store.Replace(path, mark) ? 1 : 0;
        }
    });
}

int IniSetAsideIfUnreadable(LPCWSTR path) {
    if (!path)
        return 0;
    return Guarded(0, [&]() -> int {
        IniStore store;
        switch (store.Open(path, false)) {
        case IniStore::Entry::Missing:
        case IniStore::Entry::Ini:
            return 1;
        case IniStore::Entry::Busy:
            return 0;
        case IniStore::Entry::NotPlain:
            return IniStore::SetAside(path, u"is not a plain file") ? 1 : 0;
        case IniStore::Entry::Plain:
            store.Close();
            return IniStore::SetAside(path, u"is not an INI file") ? 1 : 0;
        }
        return 0;
    });
}

int IniReadString(LPCWSTR section, LPCWSTR key, LPWSTR* out, LPCWSTR path) {
    if (!Given(section) || !Given(key) || !out || !path)
        return 0;
    return Guarded(0, [&]() -> int {
        IniStore store;
        if (!store.Load(path, false))
            return 0;
        store.Close();
        IniDocument doc(store.Bytes());
        auto value = doc.Read(View(section), View(key));
        if (!value)
            return 0;
        WCHAR* copy = new (std::nothrow) WCHAR[value->size() + 1]();
        *out = copy;
        if (!copy)
            return 0;
        value->copy(copy, value->size());
        return 1;
    });
}

int IniWriteString(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR path) {
    if (!Given(section) || !path || (key && !*key))
        return 0;
    return Guarded(0, [&]() -> int {
        IniStore store;
        if (!store.Load(path, true))
            return 0;
        IniDocument doc(store.Bytes());
        std::string bytes;
        bool changed = !key     ? doc.RemoveSection(View(section), bytes)
                       : !value ? doc.RemoveKey(View(section), View(key), bytes)
                                : doc.Set(View(section), View(key), View(value), bytes);
        if (!changed)
            return 1;
        return store.Replace(path, bytes) ? 1 : 0;
    });
}

int IniWriteStrings(LPCWSTR section, const LPCWSTR* keys, const LPCWSTR* values, UINT count,
                    LPCWSTR path) {
    if (!Given(section) || !path || (count > 0 && (!keys || !values)))
        return 0;
    for (UINT i = 0; i < count; ++i)
        if (!Given(keys[i]) || !values[i])
            return 0;
    return Guarded(0, [&]() -> int {
        IniStore store;
        if (!store.Load(path, true))
            return 0;
        std::string bytes = store.Bytes();
        bool changed = false;
        for (UINT i = 0; i < count; ++i) {
            std::string next;
            if (IniDocument(bytes).Set(View(section), View(keys[i]), View(values[i]), next)) {
                bytes = std::move(next);
                changed = true;
            }
        }
        if (!changed)
            return 1;
        return store.Replace(path, bytes) ? 1 : 0;
    });
}

int IniReadInt(LPCWSTR section, LPCWSTR key, int* out, LPCWSTR path) {
    if (!out)
        return 0;
    LPWSTR text = nullptr;
    if (!IniReadString(section, key, &text, path) || !text)
        return 0;
    *out = static_cast<int>(wcstol(text, nullptr, 10));
    delete[] text;
    return 1;
}

int IniWriteInt(LPCWSTR section, LPCWSTR key, int value, LPCWSTR path) {
    WCHAR text[15] = {};
    wsprintfW(text, u"%d", value);
    return IniWriteString(section, key, text, path);
}

namespace {

// Loads the file as the section queries do: opened for reading and writing, so that a
// read-only file fails them.
bool LoadForQuery(LPCWSTR path, std::string& bytes) {
    IniStore store;
    if (!path || !store.Load(path, true))
        return false;
    store.Close();
    bytes = store.Bytes();
    return true;
}

} // namespace

int IniSectionExists(LPCWSTR section, LPCWSTR path) {
    if (!Given(section))
        return 0;
    return Guarded(0, [&]() -> int {
        std::string bytes;
        if (!LoadForQuery(path, bytes))
            return 0;
        IniDocument doc(bytes);
        return doc.Valid() && doc.SectionExists(View(section)) ? 1 : 0;
    });
}

UINT IniGetSectionCount(LPCWSTR path) {
    return Guarded(0u, [&]() -> UINT {
        std::string bytes;
        if (!LoadForQuery(path, bytes))
            return 0;
        IniDocument doc(bytes);
        return doc.Valid() ? static_cast<UINT>(doc.SectionCount()) : 0;
    });
}

void IniGetSectionName(LPWSTR dest, UINT destChars, UINT index, LPCWSTR path) {
    if (!dest)
        return;
    Guarded(0, [&]() -> int {
        std::string bytes;
        if (!LoadForQuery(path, bytes))
            return 0;
        IniDocument doc(bytes);
        auto name = doc.Valid() ? doc.SectionName(index) : std::nullopt;
        if (!name || destChars == 0)
            return 0;
        size_t n = std::min<size_t>(name->size(), destChars - 1);
        name->copy(dest, n);
        dest[n] = 0;
        return 1;
    });
}
