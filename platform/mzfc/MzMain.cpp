// The framework's entry point, standing for the phone's WinMain. Static objects (the
// application object among them) exist before it runs and are destroyed after it
// returns, in reverse order.
#include "ce/CeRemoteWindowLink.h"
#include "mzfc/CMzApp.h"

int main() {
    CeRemoteWindowLink::Install(); // the program sees, and is seen by, the phone's other processes
    return MzRunApplication();
}
