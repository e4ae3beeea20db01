// Included first by every port header of mzfc (the test mode the program's tests and
// benchmarks drive). Only targets that link mzfc_port (or mzfc itself) are built with
// MZFC_PORT; the program links only mzfc.
#pragma once

#ifndef MZFC_PORT
#error "an mzfc port header: link mzfc_port to use it; the program includes only mzfc/mzfc.h"
#endif
