#include "MzSampleWnd.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace {

void Put(SDL_Surface* s, int x, int y, uint32_t argb) {
    static_cast<uint32_t*>(s->pixels)[y * (s->pitch / 4) + x] = argb;
}

uint32_t Mix(uint32_t a, uint32_t b, double t) {
    auto ch = [&](int shift) {
        double v = ((a >> shift) & 0xFF) * (1 - t) + ((b >> shift) & 0xFF) * t;
        return static_cast<uint32_t>(v + 0.5) << shift;
    };
    return ch(24) | ch(16) | ch(8) | ch(0);
}

bool Save(SDL_Surface* s, const std::string& path) {
    bool ok = s && IMG_SavePNG(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

SDL_Surface* Make(int w, int h) {
    return SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
}

// A vertical gradient from sky blue to grass green.
SDL_Surface* Sky() {
    SDL_Surface* s = Make(180, 120);
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x)
            Put(s, x, y,
                y < 70 ? Mix(0xFF6FB7F2, 0xFFD9EEFF, y / 70.0)
                       : Mix(0xFF69B443, 0xFF3F7D2A, (y - 70) / 50.0));
    return s;
}

// A shaded ball with a soft, transparent edge.
SDL_Surface* Ball(uint32_t colour) {
    SDL_Surface* s = Make(96, 96);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x) {
            double dx = x - 47.5, dy = y - 47.5, d = std::sqrt(dx * dx + dy * dy);
            double alpha = std::clamp(46.0 - d, 0.0, 1.0);
            double light = std::clamp(
                1.0 - std::sqrt((dx + 16) * (dx + 16) + (dy + 16) * (dy + 16)) / 90.0, 0.0, 1.0);
            uint32_t c = Mix(colour, 0xFFFFFFFF, light * 0.6);
            Put(s, x, y, (static_cast<uint32_t>(alpha * 255) << 24) | (c & 0xFFFFFF));
        }
    return s;
}

// A rounded key with a border.
SDL_Surface* Key(uint32_t top, uint32_t bottom) {
    SDL_Surface* s = Make(160, 60);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 160; ++x) {
            int cx = std::min(x, 159 - x), cy = std::min(y, 59 - y);
            bool corner = cx < 10 && cy < 10 && (10 - cx) * (10 - cx) + (10 - cy) * (10 - cy) > 100;
            bool edge = cx < 3 || cy < 3;
            uint32_t c = edge ? 0xFF1E2A38 : Mix(top, bottom, y / 59.0);
            Put(s, x, y, corner ? 0 : c);
        }
    return s;
}

} // namespace

bool MzSampleWnd::WriteAssets() {
    const char* root = std::getenv("CE_DEVICE_ROOT");
    if (!root || !*root)
        return false;
    std::string dir = std::string(root) + "/Disk";
    mkdir(dir.c_str(), 0700);
    dir += "/Sample";
    mkdir(dir.c_str(), 0700);
    return Save(Sky(), dir + "/sky.png") && Save(Ball(0xFFE2563B), dir + "/ball.png") &&
           Save(Key(0xFF8CC1F0, 0xFF3E7CC2), dir + "/key1.png") &&
           Save(Key(0xFFF2B35A, 0xFFC7771C), dir + "/key2.png");
}

BOOL MzSampleWnd::OnInitDialog() {
    if (!CMzWndEx::OnInitDialog())
        return FALSE;
    SetWindowTextW(u"MZFC sample");
    background.SetPos(0, 0, GetWidth(), GetHeight());
    background.SetPaintMode(1);
    background.LoadImageW(u"Disk\\Sample\\sky.png");
    AddUiWin(&background);

    ball.SetPos(520, 150, 120, 120);
    ball.LoadImageW(u"\\Disk\\Sample\\BALL.PNG"); // names match without regard to case
    AddUiWin(&ball);

    buttonNormal.LoadImageW(u"Disk\\Sample\\key1.png");
    buttonPressed.LoadImageW(u"Disk\\Sample\\key2.png");
    toggle.SetID(kButtonId);
    toggle.SetPos(60, 150, 160, 60);
    toggle.SetImage_Normal(&buttonNormal);
    toggle.SetImage_Pressed(&buttonPressed);
    toggle.SetPaintMode(1);
    toggle.SetButtonMode(1);
    AddUiWin(&toggle);

    title.SetPos(20, 20, 680, 40);
    title.SetText(u"打地鼠 — 已打中12次 - 最高纪录:小儿子5次");
    AddUiWin(&title);

    edit.SetPos(60, 250, 400, 68);
    edit.EnableCenterDisplay(true);
    edit.SetText(u"名字 Name");
    AddUiWin(&edit);

    toolbar.SetID(kToolbarId);
    toolbar.SetPos(0, GetHeight() - 68, GetWidth(), 68);
    toolbar.SetButton(0, true, true, u"取消");
    toolbar.SetButton(1, true, true, u"完成");
    AddUiWin(&toolbar);
    return TRUE;
}

void MzSampleWnd::OnUiCommand(WPARAM wParam, LPARAM lParam) {
    ++commands;
    lastId = static_cast<int>(wParam & 0xFFFF);
    lastParam = lParam;
}
