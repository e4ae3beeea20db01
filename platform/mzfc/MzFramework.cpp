#include "mzfc/MzFramework.h"

#include "ce/CeMessageQueue.h"
#include "ce/CeSoundBackend.h"
#include "ce/CeWindowTable.h"
#include "mzfc/MzAudio.h"
#include "mzfc/MzDisplay.h"
#include "mzfc/MzFont.h"
#include "mzfc/MzLoop.h"
#include "mzfc/MzScreen.h"
#include "mzfc/MzSdlWaiter.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <cstdio>

namespace {
bool g_started = false;
bool g_testMode = false;
bool g_shutDown = false;
MzSdlWaiter g_sdlWaiter;
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

void MzFramework::Ensure() {
    if (g_started)
        return;
    g_started = true;
    g_shutDown = false;
    IMG_Init(IMG_INIT_PNG);
    if (!TTF_WasInit())
        TTF_Init();
    CeMessageQueue::Instance().SetInputHook(&MzLoop::ReadInput);
    CeMessageQueue::Instance().SetIdleHook(&MzLoop::Idle);
    CeWindowTable::Instance().AddObserver(&MzScreen::Instance());
    if (g_testMode)
        return;
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !MzDisplay::Open()) {
        std::fprintf(stderr, "mzfc: no display available (%s); running without a window\n",
                     SDL_GetError());
    } else {
        MzSdlWaiter::WakeEventType();
        CeMessageQueue::Instance().SetWaiter(&g_sdlWaiter);
    }
    CeSetSoundBackend(&MzAudio::Instance());
}

void MzFramework::Shutdown() {
    if (!g_started || g_shutDown)
        return;
    g_shutDown = true;
    CeSetSoundBackend(nullptr);
    MzAudio::Instance().Close();
    CeMessageQueue::Instance().SetWaiter(nullptr);
    MzDisplay::Close();
    MzFont::Shutdown();
    if (TTF_WasInit())
        TTF_Quit();
    IMG_Quit();
    if (!g_testMode)
        SDL_Quit();
}
