#include "screen/MzPointer.h"

#include "mzfc/MzPointer.h"
#include "screen/MzBitmap.h"
#include "screen/MzDisplay.h"

#include <SDL.h>

MzPointer& MzPointer::Instance() {
    static MzPointer* pointer = new MzPointer; // used until the display closes
    return *pointer;
}

void MzPointer::SetImage(bool pressed, std::shared_ptr<MzBitmap> picture, int hotX, int hotY) {
    Image& p = pictures_[pressed ? 1 : 0];
    if (p.cursor)
        SDL_FreeCursor(p.cursor);
    p = Image{std::move(picture), hotX, hotY, nullptr};
    Apply();
}

void MzPointer::Press(bool down) {
    if (down_ == down)
        return;
    down_ = down;
    Apply();
}

void MzPointer::Touch(bool touch) {
    if (touch_ == touch)
        return;
    touch_ = touch;
    Apply();
}

MzPointer::Shown MzPointer::Current() const {
    if (touch_)
        return Shown::Hidden;
    if (!pictures_[0].bitmap)
        return Shown::System;
    return down_ && pictures_[1].bitmap ? Shown::Pressed : Shown::Normal;
}

MzBitmap* MzPointer::Picture(bool pressed) const {
    return pictures_[pressed ? 1 : 0].bitmap.get();
}

// The hot spot is kept inside the picture, where SDL wants it.
SDL_Cursor* MzPointer::CursorOf(Image& p) {
    if (!p.cursor && p.bitmap && p.bitmap->Surface()) {
        const int x = SDL_clamp(p.hotX, 0, p.bitmap->Width() - 1);
        const int y = SDL_clamp(p.hotY, 0, p.bitmap->Height() - 1);
        p.cursor = SDL_CreateColorCursor(p.bitmap->Surface(), x, y);
    }
    return p.cursor;
}

void MzPointer::Apply() {
    if (!MzDisplay::IsOpen())
        return;
    const Shown shown = Current();
    SDL_ShowCursor(shown == Shown::Hidden ? SDL_DISABLE : SDL_ENABLE);
    SDL_Cursor* cursor = nullptr;
    if (shown == Shown::Normal || shown == Shown::Pressed)
        cursor = CursorOf(pictures_[shown == Shown::Pressed ? 1 : 0]);
    SDL_SetCursor(cursor ? cursor : SDL_GetDefaultCursor());
}

void MzPointer::DropCursors() {
    if (MzDisplay::IsOpen())
        SDL_SetCursor(SDL_GetDefaultCursor());
    for (Image& p : pictures_) {
        if (p.cursor)
            SDL_FreeCursor(p.cursor);
        p.cursor = nullptr;
    }
}

BOOL MzSetPointerImage(LPCWSTR path, bool pressed, int hotX, int hotY) {
    std::shared_ptr<MzBitmap> picture = MzBitmap::Load(path);
    if (!picture)
        return FALSE;
    MzPointer::Instance().SetImage(pressed, std::move(picture), hotX, hotY);
    return TRUE;
}
