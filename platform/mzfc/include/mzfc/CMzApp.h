// The application object. The program defines exactly one, as a static object; its
// constructor registers it for the framework's entry point.
#pragma once

#include "ce/ce.h"

class CMzApp {
public:
    CMzApp(); // registers the one application object for the entry point
    virtual ~CMzApp();
    virtual BOOL Init();
    virtual int Run(); // the message loop until a quit message; returns its code
    virtual int Done();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // The name the platform spells in host names (the device root's folder, the
    // sockets); null keeps the platform's default.
    virtual const char* ProductName() const { return nullptr; }
};

CMzApp* MzGetApp(); // the registered application object, or null
// The entry point: Init (0 ends at once with 0), the message loop, then the quit code.
int MzRunApplication();
