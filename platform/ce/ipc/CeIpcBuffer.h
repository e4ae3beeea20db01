// A request or reply between processes: fixed-width little-endian numbers and
// length-prefixed byte strings. Reads check every length, so a short or forged
// frame reads as a failure, never past its end.
#pragma once

#include "core/CeInside.h"

#include <cstdint>
#include <string>
#include <vector>

class CeIpcBuffer {
public:
    CeIpcBuffer() = default;
    explicit CeIpcBuffer(std::string data) : data_(std::move(data)) {}

    void PutU32(uint32_t v);
    void PutU64(uint64_t v);
    void PutBytes(const void* p, size_t n);
    void PutText(const std::u16string& s);

    bool GetU32(uint32_t& v);
    bool GetU64(uint64_t& v);
    bool GetBytes(std::vector<uint8_t>& out, size_t max = 1u << 20);
    bool GetText(std::u16string& s, size_t max = 4096);

    const std::string& Data() const { return data_; }
    bool AtEnd() const { return pos_ == data_.size(); }

private:
    std::string data_;
    size_t pos_ = 0;
};
