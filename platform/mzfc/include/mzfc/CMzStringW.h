// The framework's wide string: a zero-terminated UTF-16 buffer that the program may
// also use as a writable buffer of a fixed capacity (C_Str).
#pragma once

#include "ce/CeTypes.h"

class CMzStringW {
public:
    CMzStringW();                      // empty
    explicit CMzStringW(int capacity); // a zeroed writable buffer of capacity characters
    CMzStringW(const WCHAR* text);
    CMzStringW(const CMzStringW& other);
    CMzStringW& operator=(const CMzStringW& other);
    CMzStringW& operator=(const WCHAR* text);
    ~CMzStringW();

    // Writable buffer of Capacity() characters (terminator included) that the
    // program may fill with wsprintfW / wnsprintfW.
    WCHAR* C_Str();
    operator const WCHAR*() const; // never null
    bool IsEmpty() const;
    int Length() const;   // characters before the first zero
    int Capacity() const; // characters the writable buffer holds, terminator included

private:
    void Assign(const WCHAR* text, int length);

    WCHAR* buf_;
    int capacity_;
};

CMzStringW Int2String(int n);
int String2Int(const WCHAR* text); // decimal like wcstol; no digits or null gives 0
