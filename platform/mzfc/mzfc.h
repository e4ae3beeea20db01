// The phone's UI framework as the program uses it, on SDL2.
// Windows derive from CMzWndEx and list controls (UiWin) that they own by value;
// only listed, visible controls paint (in listing order) and get taps.
#pragma once

#include "ce/ce.h"

struct MzSurface; // the framework's drawing target
typedef MzSurface* HDC;
struct MzBitmap;
typedef MzBitmap* HBITMAP;

// ---------------------------------------------------------------------------
// Strings

class CMzStringW {
public:
    CMzStringW();                  // empty
    explicit CMzStringW(int capacity); // a zeroed writable buffer of capacity characters
    CMzStringW(const WCHAR* text);
    CMzStringW(const CMzStringW& other);
    CMzStringW& operator=(const CMzStringW& other);
    CMzStringW& operator=(const WCHAR* text);
    ~CMzStringW();

    // Writable buffer of Capacity() characters (terminator included) that the
    // program may fill with wsprintfW / wnsprintfW.
    WCHAR* C_Str();
    operator const WCHAR*() const; // never null
    bool IsEmpty() const;
    int Length() const;   // characters before the first zero
    int Capacity() const; // characters the writable buffer holds, terminator included

private:
    WCHAR* buf_;
    int capacity_;
};

CMzStringW Int2String(int n);
int String2Int(const WCHAR* text); // decimal like wcstol; no digits or null gives 0

// ---------------------------------------------------------------------------
// Application

class CMzApp {
public:
    CMzApp();          // registers the one application object for the entry point
    virtual ~CMzApp();
    virtual BOOL Init();
    virtual int Run(); // the message loop until a quit message; returns its code
    virtual int Done();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
};

// ---------------------------------------------------------------------------
// Controls

class CMzWnd;
class ImagingHelper;

class UiWin {
public:
    UiWin();
    virtual ~UiWin();

    void SetID(int id);
    int GetID() const;
    int GetPosX() const;
    int GetPosY() const;
    int GetWidth() const;
    int GetHeight() const;
    bool IsVisible() const;

    virtual void SetPos(int x, int y, int w, int h, UINT flags = 0);
    virtual void Invalidate(RECT* prcUpdate = nullptr);
    virtual void Update();
    virtual void MoveBy(int dx, int dy);
    virtual void SetVisible(bool visible);
    virtual void SetText(LPCWSTR text);
    virtual CMzStringW GetText();
    virtual void SetFocus(bool focus);
};

class UiPicture : public UiWin {
public:
    BOOL LoadImageW(LPCWSTR path, bool useAlpha = true);
    void SetPaintMode(int mode); // 1: stretch over the control's rectangle
    virtual void SetPictureFlag(bool flag);
};

class ImagingHelper {
public:
    ImagingHelper();
    ~ImagingHelper();
    BOOL LoadImageW(LPCWSTR path, bool useAlpha = true, bool cache = true, bool premultiply = true);
};

class UiButton : public UiWin {
public:
    void SetButtonType(int type);
    void SetButtonMode(int mode); // 1: toggle, state flips at each tap
    void SetState(int state);
    int GetState() const;
};

class UiButton_Image : public UiButton {
public:
    void SetImage_Normal(ImagingHelper* image);
    void SetImage_Pressed(ImagingHelper* image);
    void SetMode(int mode);
    void SetPaintMode(int mode);
};

class UiStatic : public UiWin {};

class UiHeadingBar : public UiWin {};

class UiToolBarPro : public UiWin {
public:
    // A tap on button index sends the command with lParam = index.
    void SetButton(int index, bool enable, bool visible, LPCWSTR text);
};

class UiSingleLineEdit : public UiWin {
public:
    void EnableFontChange(bool enable);
    void EnableCenterDisplay(bool enable);
    void SetSipMode(int mode, int height);
};

// ---------------------------------------------------------------------------
// Windows. Virtual operations in the framework's slot order.

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

    HWND m_hWnd = nullptr;
};

class CMzWndEx : public CMzWnd {
public:
    CMzWndEx();
    ~CMzWndEx() override;
};

// ---------------------------------------------------------------------------
// Free functions

RECT MzGetWorkArea();
int MzMessageBoxEx(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags1 = 0, UINT flags2 = 0);
void MzBeginWaitDlg(HWND owner, RECT* prc = nullptr, bool transparent = true);
void MzEndWaitDlg();
