#include "mzfc/MzWorkArea.h"

#include "screen/MzScreen.h"

#include <algorithm>
#include <mutex>

namespace {
std::mutex g_lock;
std::function<bool(RECT*)> g_provider;
} // namespace

void MzSetWorkAreaProvider(std::function<bool(RECT*)> provider) {
    std::lock_guard<std::mutex> guard(g_lock);
    g_provider = std::move(provider);
}

RECT MzGetWorkArea() {
    const RECT screen{0, 0, MzScreen::kWidth, MzScreen::kHeight};
    std::function<bool(RECT*)> provider;
    {
        std::lock_guard<std::mutex> guard(g_lock);
        provider = g_provider;
    }
    RECT r{};
    if (!provider || !provider(&r))
        return screen;
    // Only a smaller area inside the screen counts.
    r.left = std::clamp<LONG>(r.left, 0, screen.right);
    r.right = std::clamp<LONG>(r.right, r.left, screen.right);
    r.top = std::clamp<LONG>(r.top, 0, screen.bottom);
    r.bottom = std::clamp<LONG>(r.bottom, r.top, screen.bottom);
    return r.right > r.left && r.bottom > r.top ? r : screen;
}
