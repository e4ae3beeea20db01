#include "ipc/CeIpcBuffer.h"

void CeIpcBuffer::PutU32(uint32_t v) {
    for (int i = 0; i < 4; ++i)
        data_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void CeIpcBuffer::PutU64(uint64_t v) {
    PutU32(static_cast<uint32_t>(v));
    PutU32(static_cast<uint32_t>(v >> 32));
}

void CeIpcBuffer::PutBytes(const void* p, size_t n) {
    PutU32(static_cast<uint32_t>(n));
    if (n > 0)
        data_.append(static_cast<const char*>(p), n);
}

void CeIpcBuffer::PutText(const std::u16string& s) {
    PutU32(static_cast<uint32_t>(s.size()));
    for (char16_t c : s) {
        data_.push_back(static_cast<char>(c & 0xFF));
        data_.push_back(static_cast<char>(c >> 8));
    }
}

bool CeIpcBuffer::GetU32(uint32_t& v) {
    if (data_.size() - pos_ < 4)
        return false;
    v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(static_cast<uint8_t>(data_[pos_ + i])) << (8 * i);
    pos_ += 4;
    return true;
}

bool CeIpcBuffer::GetU64(uint64_t& v) {
    uint32_t lo = 0, hi = 0;
    if (!GetU32(lo) || !GetU32(hi))
        return false;
    v = (static_cast<uint64_t>(hi) << 32) | lo;
    return true;
}

bool CeIpcBuffer::GetBytes(std::vector<uint8_t>& out, size_t max) {
    uint32_t n = 0;
    if (!GetU32(n) || n > max || data_.size() - pos_ < n)
        return false;
    out.assign(data_.begin() + static_cast<std::ptrdiff_t>(pos_),
               data_.begin() + static_cast<std::ptrdiff_t>(pos_ + n));
    pos_ += n;
    return true;
}

bool CeIpcBuffer::GetText(std::u16string& s, size_t max) {
    uint32_t n = 0;
    if (!GetU32(n) || n > max || (data_.size() - pos_) / 2 < n)
        return false;
    s.clear();
    for (uint32_t i = 0; i < n; ++i) {
        auto lo = static_cast<uint8_t>(data_[pos_ + 2 * i]);
        auto hi = static_cast<uint8_t>(data_[pos_ + 2 * i + 1]);
        s.push_back(static_cast<char16_t>(lo | (hi << 8)));
    }
    pos_ += 2 * static_cast<size_t>(n);
    return true;
}
