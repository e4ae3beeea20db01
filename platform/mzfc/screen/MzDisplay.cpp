#include "screen/MzDisplay.h"

#include "ce/CeInstallFiles.h"
#include "ce/CeUtf16.h"
#include "ce/CeWindow.h"
#include "controls/MzKeys.h"
#include "loop/MzInputQueue.h"
#include "loop/MzSdlWaiter.h"
#include "screen/MzPointer.h"
#include "screen/MzScreen.h"
#include "screen/MzWindowFile.h"
#include "windows/MzFramework.h"
#include "windows/MzHost.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

struct Display {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    bool pending = false;
    Uint64 lastPresent = 0;
    bool textInput = false;
    MzWindowPlacement windowed; // the last size and place out of full screen
    bool remember = false;      // the window opened whole: its place is kept at the end
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

std::vector<RECT> Screens() {
    std::vector<RECT> screens;
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
        SDL_Rect b;
        if (SDL_GetDisplayBounds(i, &b) == 0)
            screens.push_back(RECT{b.x, b.y, b.x + b.w, b.y + b.h});
    }
    return screens;
}

// Full screen, maximised and minimised are states of the window, not its place.
void RememberWindowed() {
    Display& d = g_display;
    const Uint32 states = SDL_WINDOW_FULLSCREEN | SDL_WINDOW_FULLSCREEN_DESKTOP |
                          SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED;
    if (!d.window || (SDL_GetWindowFlags(d.window) & states))
        return;
    MzWindowPlacement& p = d.windowed;
    SDL_GetWindowPosition(d.window, &p.x, &p.y);
    SDL_GetWindowSize(d.window, &p.width, &p.height);
    p.hasPosition = true;
}

bool InScreen(int x, int y) {
    return x >= 0 && y >= 0 && x < MzScreen::kWidth && y < MzScreen::kHeight;
}

void HandleKey(const SDL_KeyboardEvent& key, MzInputTime made) {
    const SDL_Keycode sym = key.keysym.sym;
    if (MzKeys::TogglesFullScreen(sym, key.keysym.mod)) {
        if (!key.repeat && !MzHost::OwnsFullScreen())
            MzDisplay::ToggleFullScreen();
        return;
    }
    if (sym == SDLK_v && (key.keysym.mod & KMOD_CTRL)) {
        if (char* clip = SDL_GetClipboardText()) {
            MzScreen::Instance().Paste(CeUtf16::FromUtf8(clip), made);
            SDL_free(clip);
        }
        return;
    }
    // A key held with Ctrl, Alt or the logo key is the desktop's shortcut: it keeps its
    // meaning but presses nothing by its position.
    const bool shortcut = (key.keysym.mod & (KMOD_CTRL | KMOD_ALT | KMOD_GUI)) != 0;
    MzScreen::Instance().KeyDown(sym, shortcut ? SDL_SCANCODE_UNKNOWN : key.keysym.scancode,
                                 key.repeat != 0, made);
}

} // namespace

void MzDisplay::Handle(const SDL_Event& e, MzInputTime made) {
    MzScreen& screen = MzScreen::Instance();
    switch (e.type) {
    case SDL_QUIT:
        PostQuitMessage(0);
        break;
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
        MzPointer::Instance().Touch(true);
        break;
    case SDL_MOUSEBUTTONDOWN:
        MzPointer::Instance().Touch(e.button.which == SDL_TOUCH_MOUSEID);
        if (e.button.button == SDL_BUTTON_LEFT && InScreen(e.button.x, e.button.y))
            screen.PointerDown(e.button.x, e.button.y, made);
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT)
            screen.PointerUp(e.button.x, e.button.y, made);
        break;
    case SDL_MOUSEMOTION:
        MzPointer::Instance().Touch(e.motion.which == SDL_TOUCH_MOUSEID);
        if (e.motion.state & SDL_BUTTON_LMASK)
            screen.PointerMove(e.motion.x, e.motion.y, made);
        break;
    case SDL_KEYDOWN:
        HandleKey(e.key, made);
        break;
    case SDL_TEXTINPUT: {
        screen.Composition(u"", made);
        for (char16_t c : CeUtf16::FromUtf8(e.text.text))
            screen.Char(c, made);
        break;
    }
    case SDL_TEXTEDITING:
        screen.Composition(CeUtf16::FromUtf8(e.edit.text), made);
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
            if (g_display.renderer)
                ShowFrame();
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (g_display.renderer)
                ShowFrame();
            RememberWindowed();
            break;
        case SDL_WINDOWEVENT_MOVED:
            RememberWindowed();
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
}

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
    // The place of the last run, where it still shows on a screen; its size in any case.
    // A host that scales the screen itself keeps it at the phone's size.
    int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
    const std::optional<MzWindowPlacement> saved = hostScales ? std::nullopt : MzWindowFile::Load();
    if (saved) {
        w = saved->width;
        h = saved->height;
        if (saved->IsOnScreen(Screens())) {
            x = saved->x;
            y = saved->y;
        }
    }
    d.window = SDL_CreateWindow("", x, y, w, h,
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
    RememberWindowed();
    d.remember = true;
    MzPointer::Instance().Apply();
    if (saved && saved->fullScreen)
        SDL_SetWindowFullscreen(d.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    return true;
}

void MzDisplay::Close() {
    Display& d = g_display;
    if (d.window && d.remember && d.windowed.hasPosition) {
        MzWindowPlacement kept = d.windowed;
        kept.fullScreen = (SDL_GetWindowFlags(d.window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
        MzWindowFile::Save(kept);
    }
    MzPointer::Instance().DropCursors();
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
    const bool gathered = MzInputQueue::Gather();
    return MzInputQueue::Drain(&MzDisplay::Handle) || gathered;
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
