// Included first by every private header of the mzfc library. Only mzfc and its own
// tests, sample and benchmarks are built with MZFC_INSIDE (the mzfc_private target),
// so a private header reached from anywhere else stops the build here.
#pragma once

#ifndef MZFC_INSIDE
#error                                                                                             \
    "private to the mzfc library: the program includes mzfc/mzfc.h; tests link mzfc_port for the test mode"
#endif
