// PlaySoundW's output through SDL_mixer: one voice, a new sound cuts off the one
// playing. The device opens at the first sound; without one nothing is heard.
#pragma once

#include "windows/MzInside.h"

#include "ce/CeSoundBackend.h"

#include <cstddef>
#include <map>
#include <string>

struct Mix_Chunk;

class MzAudio : public CeSoundBackend {
public:
    // A sound file's limit, checked before it is read: the game's longest sound is
    // 198 KB; a WAV of low rate grows up to some twenty times when converted.
    static constexpr size_t kMaxBytes = 2u << 20;
    static MzAudio& Instance();
    bool Play(LPCWSTR cePath) override;
    void Stop() override;
    void Close();

private:
    enum class State { Closed, Open, Unavailable };
    bool EnsureOpen(); // opens the device at the first sound
    State state_ = State::Closed;
    std::map<std::string, Mix_Chunk*> chunks_; // loaded sounds, kept for the next time
};
