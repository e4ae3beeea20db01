#include "screen/MzBitmap.h"

#include "ce/CeNotice.h"
#include "ce/CeUtf16.h"
#include "windows/MzHostPath.h"

#include <SDL.h>
#include <SDL_image.h>

#include <string>
#include <sys/stat.h>
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

} // namespace

std::shared_ptr<MzBitmap> MzBitmap::Load(LPCWSTR cePath) {
    std::string host = MzHostPath::ForReading(cePath);
    struct stat st {};
    if (host.empty() || stat(host.c_str(), &st) != 0) {
        const std::string name = cePath ? CeUtf16::ToUtf8(cePath) : "(none)";
        CeNotice::Once("picture " + name,
                       "cannot load the picture " + name + ": No such file or directory");
        return nullptr;
    }
    CacheKey key{host, static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                 st.st_size};
    auto& cache = Cache();
    auto it = cache.find(key);
    if (it != cache.end()) {
        if (std::shared_ptr<MzBitmap> shared = it->second.lock())
            return shared;
        cache.erase(it);
    }
    SDL_Surface* loaded = IMG_Load(host.c_str());
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
