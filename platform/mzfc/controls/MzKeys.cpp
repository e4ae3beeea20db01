#include "controls/MzKeys.h"

#include "mzfc/MzKeyPosition.h"

#include <SDL_keycode.h>
#include <SDL_scancode.h>

int MzKeys::FromSdl(int sdlKeycode) {
    switch (sdlKeycode) {
    case SDLK_BACKSPACE:
        return kBack;
    case SDLK_TAB:
        return kTab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return kReturn;
    case SDLK_ESCAPE:
        return kEscape;
    case SDLK_SPACE:
        return kSpace;
    case SDLK_END:
        return kEnd;
    case SDLK_HOME:
        return kHome;
    case SDLK_LEFT:
        return kLeft;
    case SDLK_UP:
        return kUp;
    case SDLK_RIGHT:
        return kRight;
    case SDLK_DOWN:
        return kDown;
    case SDLK_DELETE:
        return kDelete;
    default:
        return 0;
    }
}

bool MzKeys::TogglesFullScreen(int sdlKeycode, int sdlModifiers) {
    const bool enter = sdlKeycode == SDLK_RETURN || sdlKeycode == SDLK_KP_ENTER;
    return sdlKeycode == SDLK_F11 || (enter && (sdlModifiers & KMOD_ALT) != 0);
}

int MzKeys::PositionFromSdl(int sdlScancode) {
    namespace P = MzKeyPosition;
    static constexpr struct {
        int scancode;
        int position;
    } kPositions[] = {
        {SDL_SCANCODE_Q, P::kQ},
        {SDL_SCANCODE_W, P::kW},
        {SDL_SCANCODE_E, P::kE},
        {SDL_SCANCODE_A, P::kA},
        {SDL_SCANCODE_S, P::kS},
        {SDL_SCANCODE_D, P::kD},
        {SDL_SCANCODE_Z, P::kZ},
        {SDL_SCANCODE_X, P::kX},
        {SDL_SCANCODE_C, P::kC},
        {SDL_SCANCODE_KP_1, P::kPad1},
        {SDL_SCANCODE_KP_2, P::kPad2},
        {SDL_SCANCODE_KP_3, P::kPad3},
        {SDL_SCANCODE_KP_4, P::kPad4},
        {SDL_SCANCODE_KP_5, P::kPad5},
        {SDL_SCANCODE_KP_6, P::kPad6},
        {SDL_SCANCODE_KP_7, P::kPad7},
        {SDL_SCANCODE_KP_8, P::kPad8},
        {SDL_SCANCODE_KP_9, P::kPad9},
        {SDL_SCANCODE_SPACE, P::kSpace},
        {SDL_SCANCODE_RETURN, P::kEnter},
        {SDL_SCANCODE_KP_ENTER, P::kPadEnter},
    };
    for (const auto& p : kPositions)
        if (p.scancode == sdlScancode)
            return p.position;
    return 0;
}

LPARAM MzKeys::KeyData(int sdlScancode, bool repeat) {
    const LPARAM position = PositionFromSdl(sdlScancode);
    return (position << 16) | (repeat ? LPARAM{1} << 30 : 0);
}
