// Drives every INI operation with arbitrary file bytes and arguments. Input: one byte
// choosing the operation, three length-prefixed UTF-16 strings (section, key, value;
// also used as a path), then the file's bytes. Besides crashes and sanitizer reports it
// checks that a change puts exactly the bytes the in-memory rules give on disk, and
// that a key set with plain arguments reads back.
#include "IniDocument.h"
#include "ce/CeFaultInjector.h"
#include "ce/CePath.h"
#include "ce/ce.h"
#include "ini/IniFile.h"
#include "testing/TestDeviceRoot.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string root;
const char16_t* const kPath = u"Disk\\F.ini";

struct Input {
    const uint8_t* p;
    size_t n;
    uint8_t Byte() {
        if (!n)
            return 0;
        --n;
        return *p++;
    }
    std::u16string String() {
        size_t len = Byte() % 40;
        std::u16string s;
        while (len-- && n >= 2) {
            char16_t c = static_cast<char16_t>(p[0] | (p[1] << 8));
            p += 2;
            n -= 2;
            if (c)
                s += c;
        }
        return s;
    }
};

void WriteHost(const std::string& bytes) {
    std::ofstream out(root + "/Disk/F.ini", std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadHost() {
    std::ifstream in(root + "/Disk/F.ini", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Plain(const std::u16string& s) {
    for (char16_t c : s)
        if (c == u'\r' || c == u'\n' || c == u'[' || c == u']' || c == u'=')
            return false;
    return true;
}

// Input-derived strings can't hold a zero; empty ones stand for null where allowed.
const char16_t* OrNull(const std::u16string& s, bool nullWhenEmpty) {
    return nullWhenEmpty && s.empty() ? nullptr : s.c_str();
}

// The file's bytes from its first zero code unit on (a last odd byte is the low byte
// of a unit); empty without one.
std::string ZeroUnitTail(const std::string& bytes) {
    for (size_t i = 2; i < bytes.size(); i += 2)
        if (bytes[i] == 0 && (i + 1 == bytes.size() || bytes[i + 1] == 0))
            return bytes.substr(i);
    return "";
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

void Check(bool ok, const char* what) {
    if (!ok) {
        fprintf(stderr, "invariant broken: %s\n", what);
        abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static TestDeviceRoot* device = new TestDeviceRoot;
    if (device->Path().empty())
        abort();
    root = device->Path();
    std::filesystem::create_directory(root + "/Disk");
    CeFaultInjector::SetSyncEnabled(false);
    atexit([] { delete device; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in{data, size};
    const uint8_t op = in.Byte();
    const std::u16string a = in.String(), b = in.String(), c = in.String();
    const std::string before(reinterpret_cast<const char*>(in.p), in.n);
    SetFileAttributesW(kPath, FILE_ATTRIBUTE_NORMAL);
    WriteHost(before);
    const bool readOnly = op & 0x80;
    if (readOnly)
        SetFileAttributesW(kPath, FILE_ATTRIBUTE_READONLY);
    IniDocument doc(before);

    switch (op % 14) {
    case 0: {
        LPWSTR out = nullptr;
        int r = IniReadString(OrNull(a, true), OrNull(b, true), &out, kPath);
        Check(r == (out != nullptr), "read result and string agree");
        if (r) {
            auto v = doc.Read(a, b);
            Check(v && *v == std::u16string_view(out), "read gives the document's value");
        }
        delete[] out;
        break;
    }
    case 1:
    case 2:
    case 3: {
        const char16_t* key = op % 14 == 3 ? nullptr : OrNull(b, false);
        const char16_t* value = op % 14 == 1 ? c.c_str() : nullptr;
        int r = IniWriteString(OrNull(a, true), key, value, kPath);
        const std::string after = ReadHost();
        std::string expected;
        bool changes = doc.Valid() && !a.empty() && (key == nullptr || !b.empty()) &&
                       (!key     ? doc.RemoveSection(a, expected)
                        : !value ? doc.RemoveKey(a, b, expected)
                                 : doc.Set(a, b, c, expected));
        if (!r || !changes)
            Check(after == before, "a refused or empty change leaves the file");
        else
            Check(after == expected, "a change writes the document's bytes");
        Check(!readOnly || r == 0, "read-only file refuses writes");
        if (r && changes)
            Check(EndsWith(after, ZeroUnitTail(before)), "bytes from a zero unit on are kept");
        if (r && value && Plain(a) && Plain(b) && Plain(c)) {
            LPWSTR out = nullptr;
            Check(IniReadString(a.c_str(), b.c_str(), &out, kPath) == 1 && out && c == out,
                  "a written key reads back");
            delete[] out;
        }
        break;
    }
    case 4: {
        int v = 0;
        IniReadInt(OrNull(a, true), OrNull(b, true), &v, kPath);
        break;
    }
    case 5:
        IniWriteInt(OrNull(a, true), OrNull(b, true),
                    static_cast<int>(c.empty() ? 0 : (c[0] << 16) | c.back()), kPath);
        break;
    case 6:
        Check(IniSectionExists(OrNull(a, true), kPath) ==
                  (!readOnly && doc.Valid() && !a.empty() && doc.SectionExists(a) ? 1 : 0),
              "section exists agrees");
        break;
    case 7:
        Check(IniGetSectionCount(kPath) ==
                  (!readOnly && doc.Valid() ? static_cast<UINT>(doc.SectionCount()) : 0u),
              "section count agrees");
        break;
    case 8: {
        WCHAR buf[48];
        const UINT chars = b.empty() ? 0 : b[0] % 48;
        const UINT index = a.empty() ? 0 : a[0] % 8;
        std::fill(std::begin(buf), std::end(buf), u'#');
        IniGetSectionName(buf, chars, index, kPath);
        Check(chars == 0 || buf[std::min<UINT>(chars, 47)] == u'#' ||
                  std::char_traits<char16_t>::find(buf, chars, 0) != nullptr,
              "section name stays in its buffer");
        break;
    }
    case 9: {
        std::u16string path = u"Disk\\" + a;
        IniCreateFile(path.c_str());
        break;
    }
    case 10: {
        FileExists(a.c_str());
        std::u16string path = a + u".ini";
        IniWriteString(u"S", u"k", u"v", path.c_str());
        break;
    }
    case 12: { // two keys in one replace, as two writes in turn would set them
        const LPCWSTR keys[] = {OrNull(b, false), u"k2"}, values[] = {c.c_str(), a.c_str()};
        const int r = IniWriteStrings(OrNull(a, true), keys, values, 2, kPath);
        std::string expected = before, next;
        bool changes = false;
        for (int i = 0; i < 2 && doc.Valid() && !a.empty() && !b.empty(); ++i)
            if (IniDocument(expected).Set(a, keys[i], values[i], next)) {
                expected = next;
                changes = true;
            }
        Check(ReadHost() == (r && changes ? expected : before), "a change of two keys is whole");
        Check(!readOnly || r == 0 || !changes, "read-only file refuses writes");
        break;
    }
    case 13: { // what the library reads stays; anything else goes aside whole
        const bool ini = doc.Valid() && before.size() <= kIniMaxFileBytes;
        Check(IniSetAsideIfUnreadable(kPath) == 1, "a plain file can be set aside");
        const std::string aside = root + "/Disk/F.ini.bad";
        std::error_code ec;
        Check(std::filesystem::exists(aside, ec) != ini, "only what is no INI file goes");
        if (!ini) {
            std::ifstream in(aside, std::ios::binary);
            std::stringstream kept;
            kept << in.rdbuf();
            Check(kept.str() == before, "what is set aside keeps its bytes");
            std::filesystem::rename(aside, root + "/Disk/F.ini", ec);
        }
        break;
    }
    default: {
        CeLocation loc;
        DWORD error = 0;
        if (CePath::Locate(a.c_str(), loc, error))
            Check(loc.upperPath == root || loc.upperPath.rfind(root + "/", 0) == 0,
                  "paths stay below the root");
        std::u16string path = u"Disk\\" + a;
        IniCreateFile(path.c_str());
        IniWriteString(OrNull(b, true), u"k", c.c_str(), path.c_str());
        DeleteFileW(path.c_str());
        break;
    }
    }
    std::error_code ec;
    Check(!readOnly || std::filesystem::exists(root + "/Disk/F.ini", ec), "file kept");
    return 0;
}
