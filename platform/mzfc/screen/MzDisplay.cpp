#include "screen/MzDisplay.h"

#include "ce/CeInstallFiles.h"
#include "ce/CeUtf16.h"
#include "ce/CeWindow.h"
#include "controls/MzKeys.h"
#include "loop/MzSdlWaiter.h"
#include "screen/MzScreen.h"
#include "windows/MzFramework.h"
#include "windows/MzHost.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>

namespace {

struct Display {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    bool pending = false;
    Uint64 lastPresent = 0;
    bool textInput = false;
};

Display g_display;
constexpr Uint64 kMinFrameGapMs = 16;

void SetIcon(SDL_Window* window) {
    const std::string file = CeInstallFiles::Find(".png");
    if (file.empty())
        return;
    if (SDL_Surface* icon = IMG_Load(file.c_str())) {
        SDL_SetWindowIcon(window, icon);
        SDL_FreeSurface(icon);
    }
}

void ShowFrame() {
    Display& d = g_display;
    SDL_SetRenderDrawColor(d.renderer, 0, 0, 0, 255);
    SDL_RenderClear(d.renderer);
    SDL_RenderCopy(d.renderer, d.texture, nullptr, nullptr);
    SDL_RenderPresent(d.renderer);
    MzHost::FramePresented();
    d.lastPresent = SDL_GetTicks64();
    d.pending = false;
}

bool InScreen(int x, int y) {
    return x >= 0 && y >= 0 && x < MzScreen::kWidth && y < MzScreen::kHeight;
}

void HandleKey(const SDL_KeyboardEvent& key) {
    const SDL_Keycode sym = key.keysym.sym;
    if (MzKeys::TogglesFullScreen(sym, key.keysym.mod)) {
        if (!key.repeat && !MzHost::OwnsFullScreen())
            MzDisplay::ToggleFullScreen();
        return;
    }
    if (sym == SDLK_v && (key.keysym.mod & KMOD_CTRL)) {
        if (char* clip = SDL_GetClipboardText()) {
            MzScreen::Instance().Paste(CeUtf16::FromUtf8(clip));
            SDL_free(clip);
        }
        return;
    }
    const int vk = MzKeys::FromSdl(sym);
    // A held key that presses buttons presses them once.
    const bool presses = vk == MzKeys::kReturn || vk == MzKeys::kEscape || vk == MzKeys::kSpace;
    if (vk && !(presses && key.repeat))
        MzScreen::Instance().Key(vk);
}

void Handle(const SDL_Event& e) {
    MzScreen& screen = MzScreen::Instance();
    switch (e.type) {
    case SDL_QUIT:
        PostQuitMessage(0);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT && InScreen(e.button.x, e.button.y))
            screen.PointerDown(e.button.x, e.button.y);
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT)
            screen.PointerUp(e.button.x, e.button.y);
        break;
    case SDL_MOUSEMOTION:
        if (e.motion.state & SDL_BUTTON_LMASK)
            screen.PointerMove(e.motion.x, e.motion.y);
        break;
    case SDL_KEYDOWN:
        HandleKey(e.key);
        break;
    case SDL_TEXTINPUT: {
        screen.Composition(u"");
        for (char16_t c : CeUtf16::FromUtf8(e.text.text))
            screen.Char(c);
        break;
    }
    case SDL_TEXTEDITING:
        screen.Composition(CeUtf16::FromUtf8(e.edit.text));
        break;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN: // also a page whose tab went to the background
            MzFramework::SetHidden(true);
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
        case SDL_WINDOWEVENT_SHOWN:
            MzFramework::SetHidden(false);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            ShowFrame();
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
}

} // namespace

bool MzDisplay::Open() {
    Display& d = g_display;
    if (d.window)
        return true;
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_IME_SHOW_UI, "1");
    int w = MzScreen::kWidth, h = MzScreen::kHeight;
    const bool hostScales = MzHost::ScalesTheScreen();
    SDL_Rect usable;
    if (!hostScales && SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 &&
        usable.h > 0) {
        // Shrink to the desktop when it is smaller than the phone screen.
        double scale = std::min({1.0, usable.w * 0.95 / w, usable.h * 0.9 / h});
        w = static_cast<int>(w * scale);
        h = static_cast<int>(h * scale);
    }
    d.window = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h,
                                hostScales ? 0 : SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!d.window)
        return false;
    SDL_SetWindowMinimumSize(d.window, MzScreen::kWidth / 4, MzScreen::kHeight / 4);
    SetIcon(d.window);
    d.renderer = SDL_CreateRenderer(d.window, -1, SDL_RENDERER_ACCELERATED);
    if (!d.renderer)
        d.renderer = SDL_CreateRenderer(d.window, -1, SDL_RENDERER_SOFTWARE);
    if (d.renderer) {
        SDL_RenderSetLogicalSize(d.renderer, MzScreen::kWidth, MzScreen::kHeight);
        d.texture =
            SDL_CreateTexture(d.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                              MzScreen::kWidth, MzScreen::kHeight);
    }
    if (!d.texture) {
        Close();
        return false;
    }
    SDL_StopTextInput(); // on only while an edit field has the focus
    return true;
}

void MzDisplay::Close() {
    Display& d = g_display;
    if (d.texture)
        SDL_DestroyTexture(d.texture);
    if (d.renderer)
        SDL_DestroyRenderer(d.renderer);
    if (d.window)
        SDL_DestroyWindow(d.window);
    d = Display{};
}

bool MzDisplay::IsOpen() {
    return g_display.window != nullptr;
}

void MzDisplay::Upload(SDL_Surface* screen, const RECT& area) {
    Display& d = g_display;
    if (!d.texture || !screen)
        return;
    SDL_Rect r{area.left, area.top, area.right - area.left, area.bottom - area.top};
    const uint8_t* pixels =
        static_cast<const uint8_t*>(screen->pixels) + r.y * screen->pitch + r.x * 4;
    SDL_UpdateTexture(d.texture, &r, pixels, screen->pitch);
}

void MzDisplay::Present(bool force) {
    Display& d = g_display;
    if (!d.renderer)
        return;
    if (force || SDL_GetTicks64() - d.lastPresent >= kMinFrameGapMs)
        ShowFrame();
    else
        d.pending = true;
}

bool MzDisplay::FlushPending() {
    if (!g_display.pending || !g_display.renderer)
        return false;
    ShowFrame();
    return true;
}

bool MzDisplay::Pump() {
    bool any = false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        any = true;
        if (e.type != MzSdlWaiter::WakeEventType())
            Handle(e);
    }
    return any;
}

void MzDisplay::SetTitle(const std::string& utf8) {
    if (g_display.window)
        SDL_SetWindowTitle(g_display.window, utf8.c_str());
}

void MzDisplay::Raise() {
    if (!g_display.window)
        return;
    SDL_ShowWindow(g_display.window);
    SDL_RestoreWindow(g_display.window);
    SDL_RaiseWindow(g_display.window);
}

void MzDisplay::ToggleFullScreen() {
    SDL_Window* w = g_display.window;
    if (!w)
        return;
    bool full = SDL_GetWindowFlags(w) & SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_SetWindowFullscreen(w, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void MzDisplay::SetTextInput(bool on, const RECT& r) {
    Display& d = g_display;
    if (on) {
        SDL_Rect rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
        SDL_SetTextInputRect(&rect);
        if (!d.textInput)
            SDL_StartTextInput();
    } else if (d.textInput) {
        SDL_StopTextInput();
    }
    if (on != d.textInput)
        MzHost::TextInput(on);
    d.textInput = on;
}
