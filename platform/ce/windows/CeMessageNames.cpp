#include "windows/CeMessageNames.h"

#include "ce/CeFile.h"
#include "ce/CeSharedDir.h"
#include "ce/CeWindow.h"
#include "files/CeFileLock.h"
#include "objects/CeSharedText.h"

#include <cerrno>
#include <sstream>

namespace {
// Room for thousands of names; a program registers a handful.
constexpr size_t kMaxTable = 1 << 20;
} // namespace

UINT CeMessageNames::Register(const std::u16string& name) {
    if (name.empty())
        return 0;
    std::string dir = CeSharedDir::Get("messages");
    if (dir.empty())
        return 0;
    CeFileLock guard;
    if (!guard.Lock(dir + "/.lock", CeFileLock::Mode::Exclusive, true))
        return 0;
    std::string key = CeSharedText::ToHex(CeSharedText::Fold(name));
    std::string table;
    // Missing: no names yet. Larger than any table of this program: never parsed.
    if (!CeSharedDir::ReadFile(dir + "/table", table, kMaxTable) && errno == EFBIG)
        return 0;
    std::istringstream in(table);
    std::string line;
    UINT next = kFirst;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string hex;
        unsigned long number = 0;
        if (!(fields >> hex >> number) || number < kFirst || number > kLast)
            continue; // a torn or foreign line is skipped, never trusted
        if (hex == key)
            return static_cast<UINT>(number);
        if (number >= next)
            next = static_cast<UINT>(number + 1);
    }
    if (next > kLast)
        return 0;
    if (!table.empty() && table.back() != '\n')
        table.push_back('\n');
    table += key + " " + std::to_string(next) + "\n";
    if (table.size() > kMaxTable)
        return 0;
    return CeSharedDir::ReplaceFile(dir + "/table", table) ? next : 0;
}

UINT RegisterWindowMessageW(LPCWSTR lpString) {
    std::u16string name = CeSharedText::FromPtr(lpString, 1024);
    UINT number = CeMessageNames::Register(name);
    if (number == 0)
        SetLastError(name.empty() ? ERROR_INVALID_PARAMETER : ERROR_ACCESS_DENIED);
    return number;
}
