#include "mzfc/CMzWndEx.h"

CMzWndEx::CMzWndEx() = default;
CMzWndEx::~CMzWndEx() = default;
