#include "ce/CeProduct.h"

#include <cstring>
#include <mutex>

namespace {

std::mutex& Lock() {
    static std::mutex* m = new std::mutex;
    return *m;
}

std::string& TheName() {
    static std::string* name = new std::string(CeProduct::kDefaultName);
    return *name;
}

} // namespace

bool CeProduct::SetName(const char* name) {
    if (name == nullptr || name[0] == '.')
        return false;
    const size_t n = std::strlen(name);
    if (n == 0 || n > 32)
        return false;
    for (size_t i = 0; i < n; ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-'))
            return false;
    }
    std::lock_guard<std::mutex> guard(Lock());
    TheName() = name;
    return true;
}

std::string CeProduct::Name() {
    std::lock_guard<std::mutex> guard(Lock());
    return TheName();
}
