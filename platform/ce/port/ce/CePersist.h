// Where the device root lives in storage that must be told to keep a change (a
// browser's), the file layer says so right after each change it makes there: a file
// written and closed, renamed, deleted, a folder made or removed. The build picks the
// source: on the desktop the host file system keeps everything by itself.
#pragma once

#include "ce/CePort.h"

class CePersist {
public:
    using Hook = void (*)();
    static void Changed();
    // Tests: called instead of the build's own action; null restores it.
    static void SetHook(Hook hook);
};
