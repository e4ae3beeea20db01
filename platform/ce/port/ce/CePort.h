// Included first by every port header: the hooks the framework builds on, the other
// processes' view the phone tool needs, and the test hooks. Only targets that link
// ce_port (or ce itself) are built with CE_PORT; the program links only ce.
#pragma once

#ifndef CE_PORT
#error "a ce port header: link ce_port to use it; the program includes only ce/ce.h"
#endif
