#include "mzfc/CMzStringW.h"

#include <climits>
#include <cstring>

namespace {

int TextLength(const WCHAR* s) {
    int n = 0;
    if (s)
        while (s[n])
            ++n;
    return n;
}

WCHAR g_empty[1] = {0};

} // namespace

CMzStringW::CMzStringW() : buf_(nullptr), capacity_(0) {}

CMzStringW::CMzStringW(int capacity) : buf_(nullptr), capacity_(0) {
    if (capacity > 0) {
        buf_ = new WCHAR[capacity]();
        capacity_ = capacity;
    }
}

CMzStringW::CMzStringW(const WCHAR* text) : buf_(nullptr), capacity_(0) {
    Assign(text, TextLength(text));
}

CMzStringW::CMzStringW(const CMzStringW& other) : buf_(nullptr), capacity_(0) {
    Assign(other.buf_, other.Length());
}

CMzStringW& CMzStringW::operator=(const CMzStringW& other) {
    if (this != &other)
        Assign(other.buf_, other.Length());
    return *this;
}

CMzStringW& CMzStringW::operator=(const WCHAR* text) {
    Assign(text, TextLength(text));
    return *this;
}

CMzStringW::~CMzStringW() {
    delete[] buf_;
}

// Keeps the buffer when the text fits, so a capacity set at construction stays
// (the program formats into C_Str after assigning); otherwise grows it.
void CMzStringW::Assign(const WCHAR* text, int length) {
    if (text >= buf_ && text < buf_ + capacity_) { // assigning from our own buffer
        std::memmove(buf_, text, sizeof(WCHAR) * length);
        buf_[length] = 0;
        return;
    }
    if (length + 1 > capacity_) {
        WCHAR* grown = new WCHAR[length + 1]();
        delete[] buf_;
        buf_ = grown;
        capacity_ = length + 1;
    }
    if (!buf_)
        return;
    if (length)
        std::memcpy(buf_, text, sizeof(WCHAR) * length);
    buf_[length] = 0;
}

WCHAR* CMzStringW::C_Str() {
    if (!buf_) { // an empty string still hands out a writable (1-character) buffer
        buf_ = new WCHAR[1]();
        capacity_ = 1;
    }
    return buf_;
}

CMzStringW::operator const WCHAR*() const {
    return buf_ ? buf_ : g_empty;
}

bool CMzStringW::IsEmpty() const {
    return !buf_ || buf_[0] == 0;
}

int CMzStringW::Length() const {
    return TextLength(buf_);
}

int CMzStringW::Capacity() const {
    return capacity_;
}

CMzStringW Int2String(int n) {
    WCHAR digits[16];
    int i = 0;
    long long v = n;
    bool negative = v < 0;
    if (negative)
        v = -v;
    do {
        digits[i++] = static_cast<WCHAR>(u'0' + v % 10);
        v /= 10;
    } while (v);
    WCHAR text[16];
    int k = 0;
    if (negative)
        text[k++] = u'-';
    while (i)
        text[k++] = digits[--i];
    text[k] = 0;
    return CMzStringW(text);
}

int String2Int(const WCHAR* text) {
    if (!text)
        return 0;
    const WCHAR* p = text;
    while (*p == u' ' || (*p >= u'\t' && *p <= u'\r'))
        ++p;
    bool negative = false;
    if (*p == u'+' || *p == u'-')
        negative = *p++ == u'-';
    long long v = 0;
    bool any = false;
    while (*p >= u'0' && *p <= u'9') {
        any = true;
        if (v <= static_cast<long long>(INT_MAX) + 1)
            v = v * 10 + (*p - u'0');
        ++p;
    }
    if (!any)
        return 0;
    if (negative)
        v = -v;
    // wcstol's long saturates; the result is then narrowed to int like the phone's.
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return static_cast<int>(v);
}
