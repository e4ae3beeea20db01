#include "ce/CeCrt.h"

#include "text/CeFormatter.h"

#include <cerrno>
#include <climits>

size_t wcslen(const WCHAR* s) {
    size_t n = 0;
    while (s[n])
        ++n;
    return n;
}

int wcscmp(const WCHAR* a, const WCHAR* b) {
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a < *b ? -1 : (*a > *b ? 1 : 0);
}

int wcsncmp(const WCHAR* a, const WCHAR* b, size_t n) {
    for (; n > 0; --n, ++a, ++b) {
        if (*a != *b)
            return *a < *b ? -1 : 1;
        if (!*a)
            return 0;
    }
    return 0;
}

int _wcsicmp(const WCHAR* a, const WCHAR* b) {
    for (;; ++a, ++b) {
        WCHAR x = towupper(*a), y = towupper(*b);
        if (x != y)
            return x < y ? -1 : 1;
        if (!x)
            return 0;
    }
}

WCHAR* wcscpy(WCHAR* dest, const WCHAR* src) {
    WCHAR* d = dest;
    while ((*d++ = *src++)) {
    }
    return dest;
}

WCHAR* wcsncpy(WCHAR* dest, const WCHAR* src, size_t n) {
    size_t i = 0;
    for (; i < n && src[i]; ++i)
        dest[i] = src[i];
    for (; i < n; ++i)
        dest[i] = 0;
    return dest;
}

const WCHAR* wcschr(const WCHAR* s, WCHAR c) {
    for (;; ++s) {
        if (*s == c)
            return s;
        if (!*s)
            return nullptr;
    }
}

WCHAR* wcschr(WCHAR* s, WCHAR c) {
    return const_cast<WCHAR*>(wcschr(const_cast<const WCHAR*>(s), c));
}

const WCHAR* wcsrchr(const WCHAR* s, WCHAR c) {
    const WCHAR* found = nullptr;
    for (;; ++s) {
        if (*s == c)
            found = s;
        if (!*s)
            return found;
    }
}

WCHAR* wcsrchr(WCHAR* s, WCHAR c) {
    return const_cast<WCHAR*>(wcsrchr(const_cast<const WCHAR*>(s), c));
}

const WCHAR* wcsstr(const WCHAR* s, const WCHAR* find) {
    if (!*find)
        return s;
    for (; *s; ++s) {
        size_t i = 0;
        while (find[i] && s[i] == find[i])
            ++i;
        if (!find[i])
            return s;
    }
    return nullptr;
}

// The phone's long is 32-bit: results clamp to its range.
long wcstol(const WCHAR* s, WCHAR** end, int base) {
    const WCHAR* p = s;
    if (end)
        *end = const_cast<WCHAR*>(s);
    if (!s || base < 0 || base == 1 || base > 36)
        return 0;
    while (*p == u' ' || (*p >= u'\t' && *p <= u'\r'))
        ++p;
    bool negative = false;
    if (*p == u'+' || *p == u'-')
        negative = *p++ == u'-';
    auto digit = [](WCHAR c) -> int {
        if (c >= u'0' && c <= u'9')
            return c - u'0';
        if (c >= u'a' && c <= u'z')
            return c - u'a' + 10;
        if (c >= u'A' && c <= u'Z')
            return c - u'A' + 10;
        return 99;
    };
    if ((base == 0 || base == 16) && p[0] == u'0' && (p[1] == u'x' || p[1] == u'X') &&
        digit(p[2]) < 16) {
        p += 2;
        base = 16;
    } else if (base == 0) {
        base = p[0] == u'0' ? 8 : 10;
    }
    const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
    int64_t value = 0;
    bool overflow = false, any = false;
    for (int d; (d = digit(*p)) < base; ++p) {
        any = true;
        value = value * base + d;
        if (value > limit) {
            overflow = true;
            value = limit;
        }
    }
    if (!any)
        return 0;
    if (end)
        *end = const_cast<WCHAR*>(p);
    if (overflow)
        errno = ERANGE;
    return static_cast<long>(negative ? -value : value);
}

WCHAR towupper(WCHAR c) {
    // Basic Latin, Latin-1, Latin Extended-A, Greek, Cyrillic and the full-width Latin
    // letters: enough for names and file extensions.
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') ? static_cast<WCHAR>(c - 0x20) : c;
    if (c < 0x100) {
        if (c == 0xFF)
            return 0x178;
        if (c == 0xB5)
            return 0x39C;
        return (c >= 0xE0 && c <= 0xFE && c != 0xF7) ? static_cast<WCHAR>(c - 0x20) : c;
    }
    if (c <= 0x17F) {
        if (c == 0x131)
            return u'I';
        if (c == 0x17F)
            return u'S';
        bool pairsOdd = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (pairsOdd)
            return (c & 1) ? c : static_cast<WCHAR>(c - 1);
        if (c == 0x138 || c == 0x149 || c == 0x178)
            return c;
        return (c & 1) ? static_cast<WCHAR>(c - 1) : c;
    }
    if (c >= 0x3B1 && c <= 0x3CB)
        return c == 0x3C2 ? 0x3A3 : static_cast<WCHAR>(c - 0x20);
    if (c == 0x3AC)
        return 0x386;
    if (c >= 0x3AD && c <= 0x3AF)
        return static_cast<WCHAR>(c - 0x25);
    if (c == 0x3CC)
        return 0x38C;
    if (c == 0x3CD || c == 0x3CE)
        return static_cast<WCHAR>(c - 0x3F);
    if (c >= 0x430 && c <= 0x44F)
        return static_cast<WCHAR>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F)
        return static_cast<WCHAR>(c - 0x50);
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F))
        return (c & 1) ? static_cast<WCHAR>(c - 1) : c;
    if (c >= 0x4C1 && c <= 0x4CE)
        return (c & 1) ? c : static_cast<WCHAR>(c - 1);
    if (c == 0x4CF)
        return 0x4C0;
    if (c >= 0xFF41 && c <= 0xFF5A)
        return static_cast<WCHAR>(c - 0x20);
    return c;
}

WCHAR* _wcsupr(WCHAR* s) {
    for (WCHAR* p = s; *p; ++p)
        *p = towupper(*p);
    return s;
}

int wvnsprintfW(LPWSTR dest, int cchDest, LPCWSTR format, va_list args) {
    if (cchDest <= 0)
        return 0;
    return CeFormatter::Format(dest, static_cast<size_t>(cchDest), format, args);
}

int wnsprintfW(LPWSTR dest, int cchDest, LPCWSTR format, ...) {
    va_list args;
    va_start(args, format);
    int n = wvnsprintfW(dest, cchDest, format, args);
    va_end(args);
    return n;
}

int wvsprintfW(LPWSTR dest, LPCWSTR format, va_list args) {
    return CeFormatter::Format(dest, 1024, format, args);
}

int wsprintfW(LPWSTR dest, LPCWSTR format, ...) {
    va_list args;
    va_start(args, format);
    int n = wvsprintfW(dest, format, args);
    va_end(args);
    return n;
}
