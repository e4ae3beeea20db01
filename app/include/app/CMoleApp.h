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
    // The folder of the default device root and the prefix of this game's sockets.
    const char* ProductName() const override { return "burrowbop"; }

    CMoleMainWnd* mainWnd = nullptr; // owned
};

extern CMoleApp theApp;
