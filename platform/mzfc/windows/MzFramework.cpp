#include "windows/MzFramework.h"

#include "ce/CeMessageQueue.h"
#include "ce/CeNotice.h"
#include "ce/CeSoundBackend.h"
#include "ce/CeTimerQueue.h"
#include "ce/CeTrace.h"
#include "ce/CeWindowTable.h"
#include "loop/MzLoop.h"
#include "loop/MzSdlWaiter.h"
#include "loop/MzSignals.h"
#include "screen/MzDisplay.h"
#include "screen/MzFont.h"
#include "screen/MzScreen.h"
#include "sound/MzAudio.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
bool g_started = false;
bool g_testMode = false;
bool g_shutDown = false;
bool g_ready = false;
bool g_video = false;
MzSdlWaiter g_sdlWaiter;

bool IsSet(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

// SDL falls back to its offscreen driver on its own; a game nobody can see would then
// hold the single-instance name for good.
bool StartVideo() {
    if (!IsSet("SDL_VIDEODRIVER") && !IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY")) {
        CeNotice::Once("display",
                       "needs a display, but neither DISPLAY nor WAYLAND_DISPLAY is "
                       "set; start it in a desktop session or name one (e.g. DISPLAY=:0)");
        return false;
    }
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1"); // the framework's own handlers stop it
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        CeNotice::Once("display", std::string("cannot open the display: ") + SDL_GetError());
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!IsSet("SDL_VIDEODRIVER") && driver &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        CeNotice::Once("display", "needs a display, and none could be opened; start it in a "
                                  "desktop session or name one (e.g. DISPLAY=:0)");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    return true;
}
} // namespace

void MzFramework::EnableTestMode() {
    g_testMode = true;
}
bool MzFramework::IsTestMode() {
    return g_testMode;
}
bool MzFramework::IsShutDown() {
    return g_shutDown;
}

bool MzFramework::HasVideo() {
    return g_video;
}

bool MzFramework::Ensure() {
    if (g_started)
        return g_ready;
    g_started = true;
    g_shutDown = false;
    IMG_Init(IMG_INIT_PNG);
    if (!TTF_WasInit())
        TTF_Init();
    CeMessageQueue::Instance().SetInputHook(&MzLoop::ReadInput);
    CeMessageQueue::Instance().SetIdleHook(&MzLoop::Idle);
    CeWindowTable::Instance().AddObserver(&MzScreen::Instance());
    g_ready = true;
    if (g_testMode)
        return true;
    if (!StartVideo()) {
        g_ready = false;
        return false;
    }
    g_video = true;
    MzSdlWaiter::WakeEventType();
    CeMessageQueue::Instance().SetWaiter(&g_sdlWaiter);
    CeSetSoundBackend(&MzAudio::Instance());
    return true;
}

void MzFramework::Shutdown() {
    if (!g_started || g_shutDown)
        return;
    g_shutDown = true;
    CeSetSoundBackend(nullptr);
    MzAudio::Instance().Close();
    CeMessageQueue::Instance().SetWaiter(nullptr);
    MzDisplay::Close();
    g_video = false;
    MzFont::Shutdown();
    if (TTF_WasInit())
        TTF_Quit();
    IMG_Quit();
    if (!g_testMode)
        SDL_Quit();
    MzSignals::Stop();
}

void MzFramework::SetHidden(bool hidden) {
    CeTimerQueue& timers = CeTimerQueue::Instance();
    if (timers.Paused() == hidden)
        return;
    timers.SetPaused(hidden);
    if (CeTrace::Enabled())
        CeTrace::Write(hidden ? "hidden" : "shown");
}
