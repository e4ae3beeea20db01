#include "app/CMoleApp.h"

#include "CheckSingleInstance.h"
#include "game/CMoleMainWnd.h"

#include <new>

// The one application object. GameState is built before it and destroyed after it.
CMoleApp theApp;

CMoleApp::~CMoleApp() {
    delete mainWnd;
    mainWnd = nullptr;
}

BOOL CMoleApp::Init() {
    if (!CheckSingleInstance()) {
        return 0;
    }
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const RECT area = MzGetWorkArea();
    // Everything else assumes the window exists, so without memory there is no game.
    mainWnd = new (std::nothrow) CMoleMainWnd;
    if (mainWnd == nullptr) {
        return 0;
    }
    mainWnd->Create(area.left, area.top, area.right - area.left, area.bottom - area.top, nullptr, 0,
                    0, 0);
    mainWnd->Show(true, true);
    return 1;
}
