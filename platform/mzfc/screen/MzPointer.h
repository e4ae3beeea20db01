// The mouse pointer over the desktop window: the program's two pictures (normal, and
// while a button is held) made into desktop cursors once the window is open, the
// swap on press and release, and none while the player uses touch.
#pragma once

#include "windows/MzInside.h"

#include <memory>

struct MzBitmap;
struct SDL_Cursor;

class MzPointer {
public:
    enum class Shown { System, Normal, Pressed, Hidden };

    static MzPointer& Instance();

    void SetImage(bool pressed, std::shared_ptr<MzBitmap> picture, int hotX, int hotY);
    void Press(bool down);  // a mouse button went down or up over the window
    void Touch(bool touch); // the last input came from a finger (true) or the mouse
    Shown Current() const;
    MzBitmap* Picture(bool pressed) const; // the program's picture, or null

    void Apply();       // makes the desktop show Current(); needs the window open
    void DropCursors(); // before the window and the video go

private:
    MzPointer() = default;
    struct Image {
        std::shared_ptr<MzBitmap> bitmap;
        int hotX = 0, hotY = 0;
        SDL_Cursor* cursor = nullptr;
    };
    SDL_Cursor* CursorOf(Image& image);

    Image pictures_[2]; // normal, pressed
    bool down_ = false;
    bool touch_ = false;
};
