#include "screen/MzBitmap.h"

#include "ce/CeDeviceFile.h"
#include "ce/CeNotice.h"
#include "ce/CeUtf16.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <sys/types.h>
#include <tuple>

namespace {

struct CacheKey {
    std::string path;
    int64_t mtimeNs;
    off_t size;
    bool operator<(const CacheKey& o) const {
        return std::tie(path, mtimeNs, size) < std::tie(o.path, o.mtimeNs, o.size);
    }
};

std::map<CacheKey, std::weak_ptr<MzBitmap>>& Cache() {
    static auto* cache = new std::map<CacheKey, std::weak_ptr<MzBitmap>>;
    return *cache;
}

// Width and height from a PNG's header, read before anything is decoded.
bool PngSize(const std::string& bytes, uint32_t& w, uint32_t& h) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 24 || std::memcmp(bytes.data(), kSignature, 8) != 0 ||
        bytes.compare(12, 4, "IHDR") != 0)
        return false;
    auto be32 = [&](size_t at) {
        uint32_t v = 0;
        for (size_t i = 0; i < 4; ++i)
            v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    w = be32(16);
    h = be32(20);
    return true;
}

std::string Refusal(const std::string& bytes) {
    uint32_t w = 0, h = 0;
    if (!PngSize(bytes, w, h))
        return "not a PNG picture";
    if (w > MzBitmap::kMaxSide || h > MzBitmap::kMaxSide)
        return std::to_string(w) + " x " + std::to_string(h) + " pixels, more than the " +
               std::to_string(MzBitmap::kMaxSide) + " x " + std::to_string(MzBitmap::kMaxSide) +
               " allowed";
    return "";
}

} // namespace

std::shared_ptr<MzBitmap> MzBitmap::Load(LPCWSTR cePath) {
    CeDeviceFile::Contents file;
    const CeDeviceFile::Result read = CeDeviceFile::Read(cePath, kMaxBytes, file);
    if (read == CeDeviceFile::Result::Missing) {
        const std::string name = cePath ? CeUtf16::ToUtf8(cePath) : "(none)";
        CeNotice::Once("picture " + name, "cannot load the picture " + name + ": " +
                                              CeDeviceFile::Reason(read, kMaxBytes));
        return nullptr;
    }
    const std::string& host = file.hostPath;
    std::string refused = read == CeDeviceFile::Result::Ok ? Refusal(file.bytes)
                                                           : CeDeviceFile::Reason(read, kMaxBytes);
    if (!refused.empty()) {
        CeNotice::Once("picture " + host, "cannot load the picture " + host + ": " + refused);
        return nullptr;
    }
    CacheKey key{host, file.mtimeNs, static_cast<off_t>(file.bytes.size())};
    auto& cache = Cache();
    auto it = cache.find(key);
    if (it != cache.end()) {
        if (std::shared_ptr<MzBitmap> shared = it->second.lock())
            return shared;
        cache.erase(it);
    }
    SDL_RWops* rw = SDL_RWFromConstMem(file.bytes.data(), static_cast<int>(file.bytes.size()));
    SDL_Surface* loaded = rw ? IMG_LoadTyped_RW(rw, 1, "PNG") : nullptr;
    if (!loaded)
        CeNotice::Once("picture " + host,
                       "cannot load the picture " + host + ": " + IMG_GetError());
    std::shared_ptr<MzBitmap> bitmap(loaded ? Adopt(loaded) : nullptr);
    if (bitmap) {
        std::erase_if(cache, [](const auto& entry) { return entry.second.expired(); });
        cache[key] = bitmap;
    }
    return bitmap;
}

MzBitmap* MzBitmap::Adopt(SDL_Surface* surface) {
    if (!surface)
        return nullptr;
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(surface);
    if (!converted)
        return nullptr;
    SDL_SetSurfaceBlendMode(converted, SDL_BLENDMODE_BLEND);
    return new MzBitmap(converted);
}

MzBitmap::~MzBitmap() {
    for (auto& entry : scaled_)
        SDL_FreeSurface(entry.second);
    SDL_FreeSurface(surface_);
}

int MzBitmap::Width() const {
    return surface_->w;
}
int MzBitmap::Height() const {
    return surface_->h;
}

SDL_Surface* MzBitmap::Scaled(int w, int h) {
    if (w <= 0 || h <= 0 || static_cast<int64_t>(w) * h > 16 * 1024 * 1024)
        return nullptr;
    if (w == surface_->w && h == surface_->h)
        return surface_;
    auto key = std::make_pair(w, h);
    auto it = scaled_.find(key);
    if (it != scaled_.end())
        return it->second;
    if (scaled_.size() >= 8) { // a control resized again and again: keep memory bounded
        for (auto& entry : scaled_)
            SDL_FreeSurface(entry.second);
        scaled_.clear();
    }
    SDL_Surface* out = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!out)
        return nullptr;
    if (SDL_SoftStretchLinear(surface_, nullptr, out, nullptr) != 0)
        SDL_SoftStretch(surface_, nullptr, out, nullptr);
    SDL_SetSurfaceBlendMode(out, SDL_BLENDMODE_BLEND);
    scaled_[key] = out;
    return out;
}
