// The windows and window classes of this process. Handles are never reused, so a
// stale handle is refused. Thread-safe; observers are told outside the lock.
#pragma once

#include "ce/CePort.h"

#include "ce/CeTypes.h"
#include "ce/CeWindowObserver.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

class CeWindowTable {
public:
    static CeWindowTable& Instance();

    bool RegisterClass(const std::u16string& name, WNDPROC proc); // re-registering is fine
    HWND Create(const std::u16string& className, const std::u16string& title, DWORD style,
                const RECT& rect, HWND parent, void* userData);
    bool Destroy(HWND hwnd);
    bool Exists(HWND hwnd);

    WNDPROC Proc(HWND hwnd);
    void* UserData(HWND hwnd);
    std::u16string ClassName(HWND hwnd);
    std::u16string Title(HWND hwnd);
    HWND Parent(HWND hwnd);
    bool IsVisible(HWND hwnd);
    bool GetRect(HWND hwnd, RECT& rect);

    bool SetVisible(HWND hwnd, bool visible);
    bool SetRect(HWND hwnd, const RECT& rect);
    bool SetTitle(HWND hwnd, const std::u16string& title);
    bool Raise(HWND hwnd);         // to the top, below only the windows it owns
    bool SetForeground(HWND hwnd); // raise and tell the observers
    HWND FindByClass(const std::u16string& className, const std::u16string* title);
    std::vector<HWND> StackingOrder(); // bottom first
    std::vector<HWND> TopLevelWindows();

    // Calls the window procedure (no trace, no queue); 0 for an unknown window.
    LRESULT Call(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    void AddObserver(CeWindowObserver* observer);
    void RemoveObserver(CeWindowObserver* observer);

private:
    struct Record {
        std::u16string className;
        std::u16string title;
        DWORD style;
        RECT rect;
        HWND parent;
        void* userData;
        WNDPROC proc;
        bool visible;
    };
    void Notify(HWND hwnd, CeWindowChange change);
    Record* Find(HWND hwnd);             // lock held
    bool OwnedBy(HWND hwnd, HWND owner); // lock held; through the parent chain

    std::mutex lock_;
    std::map<std::u16string, WNDPROC> classes_;
    std::map<uintptr_t, Record> windows_;
    std::vector<HWND> stacking_;
    std::vector<CeWindowObserver*> observers_;
    uintptr_t nextHandle_ = 0x10000;
};
