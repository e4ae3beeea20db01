// A framework window: a CE window of the class GetWndClassName names, holding the
// controls listed in it. Every raw message goes to MzDefWndProc, whose base hands
// timers to OnTimer, pointer messages to the tap logic and taps to OnUiCommand.
#pragma once

#include "ce/ce.h"
#include "mzfc/CMzStringW.h"
#include "mzfc/MzInputGuard.h"
#include "mzfc/MzPalette.h"

#include <cstdint>
#include <utility>
#include <vector>

struct MzSurface;
typedef MzSurface* HDC;
struct MzBitmap;
typedef MzBitmap* HBITMAP;
class UiWin;

// The command a tapped control sends its window (id in wParam, detail in lParam).
constexpr UINT kMzWmUiCommand = 0x7E01;

class CMzWnd {
public:
    CMzWnd();

    virtual const WCHAR* GetWndClassName();
    virtual ~CMzWnd();
    virtual LRESULT MzDefWndProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void OnLButtonDblClk(UINT fwKeys, int xPos, int yPos);
    virtual void OnLButtonDown(UINT fwKeys, int xPos, int yPos);
    virtual void OnLButtonUp(UINT fwKeys, int xPos, int yPos);
    virtual void OnMouseMove(UINT fwKeys, int xPos, int yPos);
    virtual void OnTimer(UINT_PTR nIDEvent);
    virtual void OnSize(int nWidth, int nHeight);
    virtual void OnSettingChange(DWORD wFlag, LPCWSTR pszSectionName);
    virtual BOOL MzRegisterClass();
    virtual BOOL Create(int x, int y, int w, int h, HWND parent = nullptr, int id = 0,
                        DWORD style = 0, DWORD exStyle = 0);
    virtual BOOL CreateModalDialog(int x, int y, int w, int h, HWND parent);
    virtual BOOL CreateChildWindow(int x, int y, int w, int h, HWND parent);
    virtual int DoModal(int mode = 0);
    virtual void OnPaint(HDC hdc);
    virtual void PaintWin(HDC hdc, RECT* prcWin, RECT* prcUpdate);
    virtual void PreSubClassWindow();
    virtual void OnUiCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnInitDialog();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnShellHomeKey(UINT message, WPARAM wParam, LPARAM lParam);
    virtual HBITMAP GetWindowBitmap(RECT* prc);
    virtual HBITMAP GetWindowBitmap();

    void Show(bool show = true, bool update = true);
    BOOL SetWindowPos(HWND hWndInsertAfter, int x, int y, int w, int h, UINT flags = 0);
    BOOL SetWindowTextW(LPCWSTR text);
    int GetWidth() const;
    int GetHeight() const;
    void EndModal(int code);
    void SetAnimateType_Show(int type);
    void SetAnimateType_Hide(int type);
    void AddUiWin(UiWin* control);    // idempotent
    void RemoveUiWin(UiWin* control); // the object stays
    // A desktop key at this position (MzKeyPosition) taps the control, the way a finger
    // would, when the key goes down while the window has the keyboard and the control
    // is listed, visible and takes taps. A key may tap several controls in turn: the
    // first bound that can take the tap gets it. A held key taps once.
    void BindKey(int keyPosition, UiWin* control);
    // Input made before the window next appears (now, when it is shown), or within ms
    // after that, does not reach it. Without a guard the window still never takes input
    // made before it appeared.
    void GuardInput(DWORD ms);

    HWND m_hWnd = nullptr;

    // The framework's side.
    virtual uint32_t BackgroundColour() const { return MzPalette::kCream; }
    // Keys not taken by the focused control; Enter and Escape press a toolbar's
    // accepting and cancelling buttons.
    virtual void OnKeyDown(int vk);
    static CMzWnd* FromHandle(HWND hwnd);
    RECT ScreenRect() const; // where it is drawn, animation included
    void InvalidateArea(const RECT& local);
    void ControlHidden(UiWin* control);
    void SetFocusedControl(UiWin* focus, UiWin* caller);
    UiWin* FocusedControl() const { return focused_; }
    UiWin* ControlAt(int x, int y) const; // topmost listed, visible, enabled, tappable control
    bool TakesInputMadeAt(const MzInputTime& made) const { return guard_.Takes(made); }
    const std::vector<UiWin*>& Controls() const { return controls_; }
    bool IsModalRunning() const { return modalRunning_; }
    void Paint(HDC hdc); // the window with its controls, over hdc's clip

private:
    void Animate(int type, bool showing);
    void PressControl(UiWin* control, int x, int y);
    void ReleaseControl(bool overControl, int x, int y);
    bool TapBoundControl(LPARAM keyData);
    void SendTap(UiWin* control, int xPos, int yPos); // the control's command, if it gives one

    std::vector<UiWin*> controls_;
    std::vector<std::pair<int, UiWin*>> keyBindings_; // key position, control
    UiWin* pressed_ = nullptr;
    UiWin* focused_ = nullptr;
    int animateShow_ = 0;
    int animateHide_ = 0;
    int offsetY_ = 0; // slide animation
    MzInputGuard guard_;
    bool modalRunning_ = false;
    bool modalEnded_ = false;
    int modalCode_ = 0;
};
