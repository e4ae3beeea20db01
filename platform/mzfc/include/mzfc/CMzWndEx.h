// The window class programs derive from.
#pragma once

#include "mzfc/CMzWnd.h"

class CMzWndEx : public CMzWnd {
public:
    CMzWndEx();
    ~CMzWndEx() override;
};
