// The framework's entry point, standing for the phone's WinMain. Static objects (the
// application object among them) exist before it runs and are destroyed after it
// returns, in reverse order.
#include "mzfc/CMzApp.h"

int main() {
    return MzRunApplication();
}
