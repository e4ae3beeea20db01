// The framework's entry point, standing for the phone's WinMain. Static objects (the
// application object among them) exist before it runs and are destroyed after it
// returns, in reverse order.
#include "ce/CeProduct.h"
#include "ce/CeRemoteWindowLink.h"
#include "mzfc/CMzApp.h"
#include "windows/MzHost.h"

int main() {
    // The program's name first: it places the device root and the sockets.
    if (CMzApp* app = MzGetApp(); app && app->ProductName())
        CeProduct::SetName(app->ProductName());
    CeRemoteWindowLink::Install(); // the program sees, and is seen by, the phone's other processes
    const int code = MzRunApplication();
    MzHost::ProgramEnded(code);
    return code;
}
