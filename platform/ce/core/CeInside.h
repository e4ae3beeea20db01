// Included first by every private header of the ce library. Only ce and its own
// tests and fuzz targets are built with CE_INSIDE (the ce_private target), so a
// private header reached from anywhere else stops the build here.
#pragma once

#ifndef CE_INSIDE
#error                                                                                             \
    "private to the ce library: the program includes ce/ce.h; the framework, the phone tool and tests link ce_port for the port headers"
#endif
