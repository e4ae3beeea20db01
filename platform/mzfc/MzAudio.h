// PlaySoundW's output through SDL_mixer: one voice, a new sound cuts off the one
// playing. The device opens at the first sound; without one nothing is heard.
#pragma once

#include "ce/CeSoundBackend.h"

class MzAudio : public CeSoundBackend {
public:
    static MzAudio& Instance();
    bool Play(LPCWSTR cePath) override;
    void Stop() override;
    void Close();
};
