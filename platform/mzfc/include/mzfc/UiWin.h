// The base of every control: a rectangle in its window, an id, visibility, a text.
// A control belongs to the window it was listed in (AddUiWin); it paints and takes
// taps only while listed and visible.
#pragma once

#include "mzfc/CMzStringW.h"
#include "mzfc/MzInputGuard.h"

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

    // Input made before the control is next on screen (now, when it is), or within ms
    // after that, passes it by: a player's taps aimed at what stood there before.
    void GuardInput(DWORD ms);
    // A disabled control is drawn as ever but takes no input: taps fall through it.
    void SetEnable(bool enable);
    bool IsEnabled() const { return enabled_; }
    // Whether the input being handled (a key, say, that a window turns into a tap on
    // this control) may reach it: enabled, and made after it appeared and its guard.
    bool TakesCurrentInput() const;

    // The framework's side, used by the owning window.
    virtual void PaintCtrl(MzSurface* hdc); // at the control's rectangle, window pixels
    virtual bool AcceptsTaps() const { return false; }
    virtual void OnPress(int x, int y);                    // window pixels
    virtual void OnRelease();                              // the press ended, tap or not
    virtual bool OnTap(int x, int y, LPARAM* lParam);      // true: send the command
    virtual bool CommandsOnPress() const { return false; } // the command goes at the press
    // Enabled, and the input was made after the control appeared and its guard passed.
    bool TakesInputMadeAt(const MzInputTime& made) const;
    void Appeared(); // by the window: listed while visible, or shown while listed
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
    bool enabled_ = true;
    MzInputGuard guard_;
    CMzWnd* owner_ = nullptr;
    friend class CMzWnd;
};
