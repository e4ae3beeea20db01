// The file calls of the file and path tests, and how they read a refusal.
#pragma once

#include "ce/ce.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

inline HANDLE Open(const char16_t* path, DWORD access, DWORD share, DWORD disposition) {
    return CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

constexpr DWORD R = GENERIC_READ, W = GENERIC_WRITE, RW = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD SR = FILE_SHARE_READ, SW = FILE_SHARE_WRITE;

// A refused call and the reason it leaves behind (read before anything else can change it).
inline testing::AssertionResult Fails(bool ok, DWORD error) {
    const DWORD got = GetLastError();
    if (!ok && got == error)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << (ok ? "succeeded" : "failed") << ", error " << got;
}
inline testing::AssertionResult Fails(HANDLE h, DWORD error) {
    const bool opened = h != INVALID_HANDLE_VALUE;
    testing::AssertionResult result = Fails(opened, error);
    if (opened)
        CloseHandle(h);
    return result;
}
inline bool Opens(const char16_t* path, DWORD access, DWORD share = SR) {
    HANDLE h = Open(path, access, share, OPEN_EXISTING);
    return h != INVALID_HANDLE_VALUE && CloseHandle(h);
}
