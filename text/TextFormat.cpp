#include "text/TextFormat.h"

const WCHAR* FormatInto(CMzStringW& buffer, const WCHAR* format, va_list args) {
    WCHAR* buf = buffer.C_Str();
    const int capacity = buffer.Capacity();
    const int written = wvnsprintfW(buf, capacity, format, args);
    // A cut that lands between the halves of a surrogate pair drops the lone half.
    if (written > 0 && written == capacity - 1 && buf[written - 1] >= 0xD800 &&
        buf[written - 1] <= 0xDBFF) {
        buf[written - 1] = 0;
    }
    return buf;
}
