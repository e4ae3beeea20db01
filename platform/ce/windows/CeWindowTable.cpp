#include "ce/CeWindowTable.h"

#include "ce/CeRemoteWindows.h"

#include <algorithm>

CeWindowTable& CeWindowTable::Instance() {
    static CeWindowTable* table = new CeWindowTable; // windows die during static teardown
    return *table;
}

CeWindowTable::Record* CeWindowTable::Find(HWND hwnd) {
    auto it = windows_.find(reinterpret_cast<uintptr_t>(hwnd));
    return it == windows_.end() ? nullptr : &it->second;
}

void CeWindowTable::Notify(HWND hwnd, CeWindowChange change) {
    std::vector<CeWindowObserver*> observers;
    {
        std::lock_guard<std::mutex> guard(lock_);
        observers = observers_;
    }
    for (CeWindowObserver* o : observers)
        o->OnWindowChanged(hwnd, change);
}

bool CeWindowTable::RegisterClass(const std::u16string& name, WNDPROC proc) {
    if (name.empty() || !proc)
        return false;
    std::lock_guard<std::mutex> guard(lock_);
    classes_[name] = proc;
    return true;
}

HWND CeWindowTable::Create(const std::u16string& className, const std::u16string& title,
                           DWORD style, const RECT& rect, HWND parent, void* userData) {
    HWND hwnd = nullptr;
    {
        std::lock_guard<std::mutex> guard(lock_);
        auto cls = classes_.find(className);
        if (cls == classes_.end() || nextHandle_ >= kCeFirstRemoteHandle)
            return nullptr;
        if (parent && !Find(parent))
            return nullptr;
        uintptr_t id = nextHandle_;
        nextHandle_ += 4;
        hwnd = reinterpret_cast<HWND>(id);
        windows_.emplace(id, Record{className, title, style, rect, parent, userData, cls->second,
                                    (style & WS_VISIBLE) != 0});
        stacking_.push_back(hwnd);
    }
    Notify(hwnd, CeWindowChange::Created);
    return hwnd;
}

bool CeWindowTable::Destroy(HWND hwnd) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (!windows_.erase(reinterpret_cast<uintptr_t>(hwnd)))
            return false;
        std::erase(stacking_, hwnd);
    }
    Notify(hwnd, CeWindowChange::Destroyed);
    return true;
}

bool CeWindowTable::Exists(HWND hwnd) {
    std::lock_guard<std::mutex> guard(lock_);
    return Find(hwnd) != nullptr;
}

WNDPROC CeWindowTable::Proc(HWND hwnd) {
    std::lock_guard<std::mutex> guard(lock_);
    Record* r = Find(hwnd);
    return r ? r->proc : nullptr;
}

void* CeWindowTable::UserData(HWND hwnd) {
    std::lock_guard<std::mutex> guard(lock_);
    Record* r = Find(hwnd);
    return r ? r->userData : nullptr;
}

std::u16string CeWindowTable::ClassName(HWND hwnd) {
    std::lock_guard<std::mutex> guard(lock_);
    Record* r = Find(hwnd);
    return r ? r->className : std::u16string();
}

std::u16string CeWindowTable::Title(HWND hwnd) {
    std::lock_guard<std::mutex> guard(lock_);
    Record* r = Find(hwnd);
    return r ? r->title : std::u16string();
}

HWND CeWindowTable::Parent(HWND hwnd) {
    std::lock_guard<std::mutex> guard(lock_);
    Record* r = Find(hwnd);
    return r ? r->parent : nullptr;
}

bool CeWindowTable::IsVisible(HWND hwnd) {
    std::lock_guard<std::mutex> guard(lock_);
    Record* r = Find(hwnd);
    return r && r->visible;
}

bool CeWindowTable::GetRect(HWND hwnd, RECT& rect) {
    std::lock_guard<std::mutex> guard(lock_);
    Record* r = Find(hwnd);
    if (r)
        rect = r->rect;
    return r != nullptr;
}

bool CeWindowTable::SetVisible(HWND hwnd, bool visible) {
    bool changed;
    {
        std::lock_guard<std::mutex> guard(lock_);
        Record* r = Find(hwnd);
        if (!r)
            return false;
        changed = r->visible != visible;
        r->visible = visible;
    }
    if (changed)
        Notify(hwnd, visible ? CeWindowChange::Shown : CeWindowChange::Hidden);
    return true;
}

bool CeWindowTable::SetRect(HWND hwnd, const RECT& rect) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        Record* r = Find(hwnd);
        if (!r)
            return false;
        // The game re-asserts its full-screen place every 500 ms: a place that does
        // not change must not cost a repaint.
        if (r->rect.left == rect.left && r->rect.top == rect.top && r->rect.right == rect.right &&
            r->rect.bottom == rect.bottom)
            return true;
        r->rect = rect;
    }
    Notify(hwnd, CeWindowChange::Moved);
    return true;
}

bool CeWindowTable::SetTitle(HWND hwnd, const std::u16string& title) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        Record* r = Find(hwnd);
        if (!r)
            return false;
        r->title = title;
    }
    Notify(hwnd, CeWindowChange::Title);
    return true;
}

bool CeWindowTable::Raise(HWND hwnd) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (!Find(hwnd))
            return false;
        // The windows it owns (its modal windows and message boxes) stay above it, in
        // their order, as on the phone.
        std::vector<HWND> raised{hwnd};
        for (HWND h : stacking_)
            if (h != hwnd && OwnedBy(h, hwnd))
                raised.push_back(h);
        std::erase_if(stacking_, [&](HWND h) {
            return std::find(raised.begin(), raised.end(), h) != raised.end();
        });
        stacking_.insert(stacking_.end(), raised.begin(), raised.end());
    }
    Notify(hwnd, CeWindowChange::Raised);
    return true;
}

bool CeWindowTable::OwnedBy(HWND hwnd, HWND owner) {
    for (Record* r = Find(hwnd); r && r->parent; r = Find(r->parent))
        if (r->parent == owner)
            return true;
    return false;
}

bool CeWindowTable::SetForeground(HWND hwnd) {
    if (!Raise(hwnd))
        return false;
    Notify(hwnd, CeWindowChange::Foreground);
    return true;
}

HWND CeWindowTable::FindByClass(const std::u16string& className, const std::u16string* title) {
    std::lock_guard<std::mutex> guard(lock_);
    for (auto it = stacking_.rbegin(); it != stacking_.rend(); ++it) {
        Record* r = Find(*it);
        if (r && !(r->style & WS_CHILD) && (className.empty() || r->className == className) &&
            (!title || r->title == *title))
            return *it;
    }
    return nullptr;
}

std::vector<HWND> CeWindowTable::StackingOrder() {
    std::lock_guard<std::mutex> guard(lock_);
    return stacking_;
}

std::vector<HWND> CeWindowTable::TopLevelWindows() {
    std::lock_guard<std::mutex> guard(lock_);
    std::vector<HWND> out;
    for (HWND h : stacking_)
        if (!(Find(h)->style & WS_CHILD))
            out.push_back(h);
    return out;
}

LRESULT CeWindowTable::Call(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC proc = Proc(hwnd);
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

void CeWindowTable::AddObserver(CeWindowObserver* observer) {
    std::lock_guard<std::mutex> guard(lock_);
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void CeWindowTable::RemoveObserver(CeWindowObserver* observer) {
    std::lock_guard<std::mutex> guard(lock_);
    std::erase(observers_, observer);
}
