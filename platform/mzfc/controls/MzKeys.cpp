#include "controls/MzKeys.h"

#include <SDL_keycode.h>

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
