// A page gets no stop signals, and has no thread to watch for them: closing the tab
// ends it.
#include "loop/MzSignals.h"

void MzSignals::Install() {}

void MzSignals::Stop() {}
