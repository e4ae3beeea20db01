#include "objects/CeRegistryStore.h"

#include "ce/CeHostFs.h"
#include "ce/CeSharedDir.h"
#include "files/CeFileLock.h"
#include "files/CeSafeDir.h"
#include "objects/CeSharedText.h"

#include <cstdint>
#include <fcntl.h>
#include <mutex>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr size_t kMaxKeyName = 255;
constexpr char kHeader[] = "registry 1";
// A key's values file: room for a dozen of the largest values, hex-encoded.
constexpr size_t kMaxValuesFile = 1 << 20;

// What tells one version of a values file from another. Writers always replace the
// file, so a changed file is a new inode, and its times and size change with it.
struct Stamp {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    int64_t mtimeNs = 0;
    int64_t ctimeNs = 0;
    bool operator==(const Stamp&) const = default;
};

bool StampOf(int fd, Stamp& out) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    out = Stamp{st.st_dev, st.st_ino, st.st_size,
                static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                static_cast<int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec};
    return true;
}

// The last parse of each key's values file, so that a reader polling an unchanged
// key (the lock flag, every 500 ms) does not parse it again.
struct Parsed {
    Stamp stamp;
    bool ok = false;
    std::vector<CeRegistryStore::Value> values;
};

struct ParseCache {
    std::mutex lock;
    std::map<std::string, Parsed> byFolder;
};

ParseCache& TheCache() {
    static ParseCache* cache = new ParseCache;
    return *cache;
}

// A folder name for one key name: plain lower-case ASCII when that is safe, else
// the shared file name of its folded form.
std::string Component(const std::u16string& name) {
    std::u16string folded = CeSharedText::Fold(name);
    bool plain = folded[0] != u'.';
    std::string out;
    for (char16_t c : folded) {
        bool ok = (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' || c == u'-' ||
                  c == u'.' || c == u' ';
        if (!ok)
            plain = false;
        out.push_back(c >= u'A' && c <= u'Z' ? static_cast<char>(c - u'A' + 'a')
                                             : static_cast<char>(c));
    }
    return plain ? out : CeSharedText::FileName(folded);
}
} // namespace

std::string CeRegistryStore::RootFolder(HKEY root) {
    const char* name = root == HKEY_LOCAL_MACHINE  ? "hkey_local_machine"
                       : root == HKEY_CURRENT_USER ? "hkey_current_user"
                       : root == HKEY_CLASSES_ROOT ? "hkey_classes_root"
                                                   : nullptr;
    if (name == nullptr)
        return "";
    std::string dir = CeSharedDir::Path("registry"); // made by the first key created
    return dir.empty() ? "" : dir + "/" + name;
}

bool CeRegistryStore::Join(const std::string& keyFolder, const std::u16string& subKey,
                           std::string& out) {
    out = keyFolder;
    std::u16string part;
    for (size_t i = 0; i <= subKey.size(); ++i) {
        if (i == subKey.size() || subKey[i] == u'\\') {
            if (!part.empty()) {
                if (part.size() > kMaxKeyName)
                    return false;
                out += '/';
                out += Component(part);
            }
            part.clear();
        } else if (subKey[i] < 0x20) {
            return false;
        } else {
            part.push_back(subKey[i]);
        }
    }
    return true;
}

bool CeRegistryStore::KeyExists(const std::string& keyFolder) {
    return CeSafeDir::Open(keyFolder, false).Valid(); // a link is never a key
}

bool CeRegistryStore::CreateKey(const std::string& keyFolder, bool& created) {
    created = !KeyExists(keyFolder);
    return CeSharedDir::MakeDirs(keyFolder);
}

bool CeRegistryStore::ReadValues(const std::string& keyFolder, std::vector<Value>& values) {
    values.clear();
    CeSafeDir key = CeSafeDir::Open(keyFolder, false);
    if (!key.Valid())
        return false;
    const int fd = key.OpenFile(".values", O_RDONLY);
    if (fd < 0)
        return true; // a key without values has no file yet
    Stamp stamp;
    const bool stamped = StampOf(fd, stamp);
    ParseCache& cache = TheCache();
    if (stamped) {
        std::lock_guard<std::mutex> guard(cache.lock);
        auto it = cache.byFolder.find(keyFolder);
        if (it != cache.byFolder.end() && it->second.stamp == stamp) {
            ::close(fd);
            values = it->second.values;
            return it->second.ok;
        }
    }
    std::string text;
    // One larger than any this program writes is no values, and is replaced at the
    // next write.
    const bool read = CeHostFs::ReadAll(fd, kMaxValuesFile, text);
    ::close(fd);
    const bool ok = !read || Decode(text, values);
    if (!read)
        values.clear();
    if (stamped) {
        std::lock_guard<std::mutex> guard(cache.lock);
        if (cache.byFolder.size() >= 64)
            cache.byFolder.clear();
        cache.byFolder[keyFolder] = Parsed{stamp, ok, values};
    }
    return ok;
}

bool CeRegistryStore::ReadValue(const std::string& keyFolder, const std::u16string& name,
                                Value& v) {
    std::vector<Value> values;
    if (!ReadValues(keyFolder, values))
        return false;
    for (auto& candidate : values) {
        if (CeSharedText::EqualNoCase(candidate.name, name)) {
            v = std::move(candidate);
            return true;
        }
    }
    return false;
}

bool CeRegistryStore::LockKey(const std::string& keyFolder, CeFileLock& guard) {
    return KeyExists(keyFolder) &&
           guard.Lock(keyFolder + "/.lock", CeFileLock::Mode::Exclusive, true);
}

bool CeRegistryStore::WriteValue(const std::string& keyFolder, const Value& v) {
    CeFileLock guard;
    if (!LockKey(keyFolder, guard))
        return false;
    std::vector<Value> values;
    if (!ReadValues(keyFolder, values))
        values.clear(); // an unreadable file is replaced rather than kept forever
    bool replaced = false;
    for (auto& old : values) {
        if (CeSharedText::EqualNoCase(old.name, v.name)) {
            old.type = v.type;
            old.data = v.data;
            replaced = true;
        }
    }
    if (!replaced)
        values.push_back(v);
    const std::string text = Encode(values);
    return text.size() <= kMaxValuesFile && CeSharedDir::ReplaceFile(keyFolder + "/.values", text);
}

bool CeRegistryStore::DeleteValue(const std::string& keyFolder, const std::u16string& name,
                                  bool& found) {
    found = false;
    CeFileLock guard;
    if (!LockKey(keyFolder, guard))
        return false;
    std::vector<Value> values;
    if (!ReadValues(keyFolder, values))
        return false;
    std::vector<Value> kept;
    for (auto& old : values) {
        if (CeSharedText::EqualNoCase(old.name, name))
            found = true;
        else
            kept.push_back(std::move(old));
    }
    return !found || CeSharedDir::ReplaceFile(keyFolder + "/.values", Encode(kept));
}

std::string CeRegistryStore::Encode(const std::vector<Value>& values) {
    std::string out = std::string(kHeader) + "\n";
    for (const auto& v : values)
        out += CeSharedText::ToHex(v.name) + " " + std::to_string(v.type) + " " +
               CeSharedText::ToHex(v.data) + "\n";
    return out;
}

bool CeRegistryStore::Decode(const std::string& text, std::vector<Value>& values) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kHeader)
        return false;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name, data;
        unsigned long type = 0;
        Value v;
        if (!(fields >> name >> type >> data) || !CeSharedText::FromHex(name, v.name) ||
            !CeSharedText::FromHex(data, v.data))
            return false;
        v.type = static_cast<DWORD>(type);
        values.push_back(std::move(v));
    }
    return true;
}
