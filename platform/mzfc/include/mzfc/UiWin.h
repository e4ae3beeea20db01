// The base of every control: a rectangle in its window, an id, visibility, a text.
// A control belongs to the window it was listed in (AddUiWin); it paints and takes
// taps only while listed and visible.
#pragma once

#include "mzfc/CMzStringW.h"

#include <string>

class CMzWnd;
struct MzSurface;

class UiWin {
public:
    UiWin();
    virtual ~UiWin();
    UiWin(const UiWin&) = delete;
    UiWin& operator=(const UiWin&) = delete;

    void SetID(int id);
    int GetID() const;
    int GetPosX() const;
    int GetPosY() const;
    int GetWidth() const;
    int GetHeight() const;
    bool IsVisible() const;

    virtual void SetPos(int x, int y, int w, int h, UINT flags = 0);
    virtual void Invalidate(RECT* prcUpdate = nullptr); // prcUpdate: in the control's pixels
    virtual void Update();                              // repaints the screen's changes now
    virtual void MoveBy(int dx, int dy);
    virtual void SetVisible(bool visible);
    virtual void SetText(LPCWSTR text);
    virtual CMzStringW GetText();
    virtual void SetFocus(bool focus);

    // The framework's side, used by the owning window.
    virtual void PaintCtrl(MzSurface* hdc); // at the control's rectangle, window pixels
    virtual bool AcceptsTaps() const { return false; }
    virtual void OnPress(int x, int y);               // window pixels
    virtual void OnRelease();                         // the press ended, tap or not
    virtual bool OnTap(int x, int y, LPARAM* lParam); // true: send the command
    virtual bool AcceptsText() const { return false; }
    virtual void OnKeyDown(int vk);
    virtual void OnChar(WCHAR c);
    virtual void OnComposition(const std::u16string& text);
    virtual bool IsComposing() const { return false; } // input method text pending
    virtual void Paste(const std::u16string&) {}       // the clipboard's text; most ignore it
    virtual int ButtonForKey(int) const { return -1; } // the button a key presses, or -1

    bool Contains(int x, int y) const;
    RECT Rect() const;
    bool HasFocus() const { return focus_; }
    bool IsPressed() const { return pressed_; }
    CMzWnd* Owner() const { return owner_; }
    void AttachTo(CMzWnd* owner); // by the window
    void Detach();                // by the window

protected:
    std::u16string text_;

private:
    int x_ = 0, y_ = 0, w_ = 0, h_ = 0;
    int id_ = 0;
    bool visible_ = true;
    bool focus_ = false;
    bool pressed_ = false;
    CMzWnd* owner_ = nullptr;
    friend class CMzWnd;
};
