#include "files/CeFileObject.h"

#include <unistd.h>

CeFileObject::~CeFileObject() {
    close(fd_);
} // also drops its sharing markers
