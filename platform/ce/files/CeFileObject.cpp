#include "files/CeFileObject.h"

#include "ce/CePersist.h"

#include <unistd.h>

CeFileObject::~CeFileObject() {
    close(fd_); // also drops its sharing markers
    if (changed_)
        CePersist::Changed();
}
