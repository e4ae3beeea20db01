#include "mzfc/CMzApp.h"

#include "ce/CeNotice.h"

#include "loop/MzLoop.h"
#include "loop/MzSignals.h"
#include "windows/MzFramework.h"

#include <cstdio>

namespace {
CMzApp* g_app = nullptr;
}

CMzApp::CMzApp() {
    g_app = this;
}

CMzApp::~CMzApp() {
    if (g_app == this)
        g_app = nullptr;
}

BOOL CMzApp::Init() {
    return TRUE;
}
int CMzApp::Run() {
    return MzLoop::RunMain(this);
}
int CMzApp::Done() {
    return 0;
}
BOOL CMzApp::PreTranslateMessage(MSG*) {
    return FALSE;
}

CMzApp* MzGetApp() {
    return g_app;
}

int MzRunApplication() {
    CMzApp* app = MzGetApp();
    if (!app) {
        CeNotice::Once("app", "the program has no application object");
        return 1;
    }
    if (!MzFramework::Ensure()) {
        MzFramework::Shutdown();
        return 1;
    }
    if (!MzFramework::IsTestMode())
        MzSignals::Install();
    if (!app->Init()) {
        MzFramework::Shutdown();
        return 0;
    }
    const int code = app->Run();
    app->Done();
    MzFramework::Shutdown();
    return code;
}
