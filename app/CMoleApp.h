// The application object: the framework's entry point finds it and calls Init.
#pragma once

#include "mzfc/mzfc.h"

class CMoleMainWnd;

class CMoleApp : public CMzApp {
public:
    CMoleApp() = default;
    CMoleApp(const CMoleApp&) = delete;
    CMoleApp& operator=(const CMoleApp&) = delete;

    ~CMoleApp() override;
    BOOL Init() override;

    CMoleMainWnd* mainWnd = nullptr; // owned
};

extern CMoleApp theApp;
