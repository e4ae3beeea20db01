// Watches the windows of this process: the UI framework repaints and raises the
// desktop window; a link to other processes publishes the windows they may find.
// Called on the thread that made the change (the UI thread), without locks held.
#pragma once

#include "ce/CePort.h"

#include "ce/CeTypes.h"

enum class CeWindowChange { Created, Destroyed, Shown, Hidden, Moved, Raised, Title, Foreground };

class CeWindowObserver {
public:
    virtual ~CeWindowObserver() = default;
    virtual void OnWindowChanged(HWND hwnd, CeWindowChange change) = 0;
};
