// A named mutex shared by the processes of one device root. Each process that has
// the name open holds a shared flock on <device root>/.ce/mutex/<name>; creating
// probes for any holder under a creation lock, so two processes starting together
// never both see the name as new, and a dead process's hold vanishes with it.
#pragma once

#include "core/CeInside.h"

#include "ce/CeHandleTable.h"

#include <memory>
#include <string>

class CeMutex : public CeObject {
public:
    struct Name; // one per name per process, shared by that process's handles
    // Opens or creates; isNew tells whether no process held the name before.
    static std::unique_ptr<CeMutex> Open(const std::u16string& name, bool& isNew, bool& ok);
    bool TakeOwnership();
    bool Release();

private:
    std::shared_ptr<Name> name_;
};
