// The C runtime pieces over UTF-16 (WCHAR = char16_t). These are C++ overloads that
// sit beside the C library's wchar_t functions of the same names.
// rand/srand: the process uses the phone's generator
// (state = state * 214013 + 2531011; result = (state >> 16) & 0x7FFF), defined here
// with the C library's declarations from <cstdlib>.
#pragma once

#include "ce/CeTypes.h"
// The standard headers first: their std:: using-declarations must see only the C
// library's functions, not these overloads.
#include <cstdarg>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <string>

size_t wcslen(const WCHAR* s);
int wcscmp(const WCHAR* a, const WCHAR* b);
int wcsncmp(const WCHAR* a, const WCHAR* b, size_t n);
int _wcsicmp(const WCHAR* a, const WCHAR* b);
WCHAR* wcscpy(WCHAR* dest, const WCHAR* src);
WCHAR* wcsncpy(WCHAR* dest, const WCHAR* src, size_t n);
const WCHAR* wcschr(const WCHAR* s, WCHAR c);
WCHAR* wcschr(WCHAR* s, WCHAR c);
const WCHAR* wcsrchr(const WCHAR* s, WCHAR c);
WCHAR* wcsrchr(WCHAR* s, WCHAR c);
const WCHAR* wcsstr(const WCHAR* s, const WCHAR* find);
long wcstol(const WCHAR* s, WCHAR** end, int base);
WCHAR towupper(WCHAR c);
WCHAR* _wcsupr(WCHAR* s);

// Formats %s (wide string), %d, %i, %u, %x, %X, %c (wide char), %% with optional
// flags '-', '0', a width and, for %s, a precision. wsprintfW writes at most 1024
// characters including the terminator, as the phone's does; wnsprintfW at most
// cchDest. Both always terminate and return the number of characters written
// without the terminator.
int wsprintfW(LPWSTR dest, LPCWSTR format, ...);
int wvsprintfW(LPWSTR dest, LPCWSTR format, va_list args);
int wnsprintfW(LPWSTR dest, int cchDest, LPCWSTR format, ...);
int wvnsprintfW(LPWSTR dest, int cchDest, LPCWSTR format, va_list args);
