#include "text/CeFormatter.h"

#include <cstdint>

namespace {

class Sink {
public:
    Sink(LPWSTR dest, size_t capacity)
        : dest_(dest), capacity_(capacity), limit_(capacity ? capacity - 1 : 0) {}
    void Put(WCHAR c) {
        if (used_ < limit_)
            dest_[used_++] = c;
    }
    void Repeat(WCHAR c, int n) {
        for (int i = 0; i < n; ++i)
            Put(c);
    }
    bool Full() const { return used_ >= limit_; }
    int Finish() {
        if (dest_ && capacity_ > 0)
            dest_[used_] = 0;
        return static_cast<int>(used_);
    }

private:
    LPWSTR dest_;
    size_t capacity_;
    size_t limit_;
    size_t used_ = 0;
};

struct Conversion {
    bool left = false;
    bool zero = false;
    int width = 0;
    int precision = -1;
};

void Pad(Sink& out, const Conversion& conv, const WCHAR* body, int len, const WCHAR* sign,
         int signLen, int zeros) {
    int total = signLen + zeros + len;
    int pad = conv.width > total ? conv.width - total : 0;
    if (!conv.left && !(conv.zero && conv.precision < 0))
        out.Repeat(u' ', pad);
    for (int i = 0; i < signLen; ++i)
        out.Put(sign[i]);
    if (!conv.left && conv.zero && conv.precision < 0)
        out.Repeat(u'0', pad);
    out.Repeat(u'0', zeros);
    for (int i = 0; i < len; ++i)
        out.Put(body[i]);
    if (conv.left)
        out.Repeat(u' ', pad);
}

void Number(Sink& out, const Conversion& conv, uint32_t magnitude, bool negative, unsigned base,
            bool upper) {
    WCHAR digits[16];
    int n = 0;
    const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    do {
        digits[n++] = static_cast<WCHAR>(set[magnitude % base]);
        magnitude /= base;
    } while (magnitude);
    if (conv.precision == 0 && n == 1 && digits[0] == u'0')
        n = 0;
    WCHAR body[16];
    for (int i = 0; i < n; ++i)
        body[i] = digits[n - 1 - i];
    int zeros = conv.precision > n ? conv.precision - n : 0;
    if (zeros > 4096)
        zeros = 4096;
    const WCHAR minus = u'-';
    Pad(out, conv, body, n, &minus, negative ? 1 : 0, zeros);
}

} // namespace

int CeFormatter::Format(LPWSTR dest, size_t capacity, LPCWSTR format, va_list args) {
    if (!dest)
        capacity = 0;
    Sink out(dest, capacity);
    if (!format)
        return out.Finish();
    for (const WCHAR* p = format; *p && !out.Full(); ++p) {
        if (*p != u'%') {
            out.Put(*p);
            continue;
        }
        const WCHAR* start = p++;
        Conversion conv;
        for (;; ++p) {
            if (*p == u'-')
                conv.left = true;
            else if (*p == u'0')
                conv.zero = true;
            else if (*p != u'+' && *p != u' ' && *p != u'#')
                break;
        }
        if (*p == u'*') {
            conv.width = va_arg(args, int);
            if (conv.width < 0) {
                conv.left = true;
                conv.width = conv.width == INT32_MIN ? 0 : -conv.width;
            }
            ++p;
        } else {
            while (*p >= u'0' && *p <= u'9') {
                conv.width = conv.width * 10 + (*p - u'0');
                if (conv.width > 100000)
                    conv.width = 100000;
                ++p;
            }
        }
        if (*p == u'.') {
            ++p;
            conv.precision = 0;
            if (*p == u'*') {
                conv.precision = va_arg(args, int);
                if (conv.precision < 0)
                    conv.precision = -1;
                ++p;
            } else {
                while (*p >= u'0' && *p <= u'9') {
                    conv.precision = conv.precision * 10 + (*p - u'0');
                    if (conv.precision > 100000)
                        conv.precision = 100000;
                    ++p;
                }
            }
        }
        bool isShort = false;
        while (*p == u'l' || *p == u'h' || *p == u'w') {
            isShort = *p == u'h';
            ++p;
        }
        switch (*p) {
        case u'd':
        case u'i': {
            int32_t v = va_arg(args, int32_t);
            if (isShort)
                v = static_cast<int16_t>(v);
            uint32_t mag = v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
            Number(out, conv, mag, v < 0, 10, false);
            break;
        }
        case u'u':
        case u'x':
        case u'X': {
            uint32_t v = va_arg(args, uint32_t);
            if (isShort)
                v = static_cast<uint16_t>(v);
            Number(out, conv, v, false, *p == u'u' ? 10 : 16, *p == u'X');
            break;
        }
        case u'c': {
            WCHAR c = static_cast<WCHAR>(va_arg(args, int));
            Pad(out, conv, &c, 1, nullptr, 0, 0);
            break;
        }
        case u's': {
            const WCHAR* s = va_arg(args, const WCHAR*);
            static const WCHAR kNull[] = u"(null)";
            if (!s)
                s = kNull;
            int len = 0;
            while (s[len] && (conv.precision < 0 || len < conv.precision))
                ++len;
            conv.zero = false;
            Pad(out, conv, s, len, nullptr, 0, 0);
            break;
        }
        case u'%':
            out.Put(u'%');
            break;
        case 0:
            --p; // a lone '%' at the end
            break;
        default:
            for (const WCHAR* q = start; q <= p; ++q)
                out.Put(*q);
        }
    }
    return out.Finish();
}
