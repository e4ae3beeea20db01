// Where PlaySoundW's sound goes. The UI framework installs its audio output; without
// one (no screen, tests) nothing is heard and PlaySoundW only traces.
#pragma once

#include "ce/CePort.h"

#include "ce/CeTypes.h"

class CeSoundBackend {
public:
    virtual ~CeSoundBackend() = default;
    // Starts the sound at the CE path, cutting off the one playing. False when the
    // file is missing or unreadable or there is no audio device.
    virtual bool Play(LPCWSTR cePath) = 0;
    virtual void Stop() = 0;
};

void CeSetSoundBackend(CeSoundBackend* backend); // not owned; null removes it
