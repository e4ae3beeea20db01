#include "sound/MzAudio.h"

#include "ce/CeDeviceFile.h"
#include "ce/CeNotice.h"
#include "ce/CeUtf16.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <map>
#include <string>

namespace {
constexpr size_t kMaxCachedSounds = 32;
} // namespace

bool MzAudio::EnsureOpen() {
    if (state_ != State::Closed)
        return state_ == State::Open;
    state_ = State::Unavailable;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(1);
    state_ = State::Open;
    return true;
}

MzAudio& MzAudio::Instance() {
    static MzAudio* audio = new MzAudio; // sounds may stop during static teardown
    return *audio;
}

bool MzAudio::Play(LPCWSTR cePath) {
    CeDeviceFile::Contents file;
    const CeDeviceFile::Result read = CeDeviceFile::Read(cePath, kMaxBytes, file);
    if (read != CeDeviceFile::Result::Ok) {
        const std::string name = !file.hostPath.empty() ? file.hostPath
                                 : cePath               ? CeUtf16::ToUtf8(cePath)
                                                        : "(none)";
        CeNotice::Once("sound " + name, "cannot play the sound " + name + ": " +
                                            CeDeviceFile::Reason(read, kMaxBytes));
        return false;
    }
    const std::string& host = file.hostPath;
    if (!EnsureOpen())
        return false;
    Mix_HaltChannel(0);
    Mix_Chunk* chunk = nullptr;
    auto it = chunks_.find(host);
    if (it != chunks_.end()) {
        chunk = it->second;
    } else {
        SDL_RWops* rw = SDL_RWFromConstMem(file.bytes.data(), static_cast<int>(file.bytes.size()));
        chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
        if (!chunk) {
            CeNotice::Once("sound " + host,
                           "cannot play the sound " + host + ": " + Mix_GetError());
            return false;
        }
        if (chunks_.size() >= kMaxCachedSounds) { // nothing plays now: safe to free
            for (auto& entry : chunks_)
                Mix_FreeChunk(entry.second);
            chunks_.clear();
        }
        chunks_[host] = chunk;
    }
    return Mix_PlayChannel(0, chunk, 0) == 0;
}

void MzAudio::Stop() {
    if (state_ == State::Open)
        Mix_HaltChannel(0);
}

void MzAudio::Close() {
    if (state_ == State::Open) {
        Mix_HaltChannel(0);
        for (auto& entry : chunks_)
            Mix_FreeChunk(entry.second);
        chunks_.clear();
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    state_ = State::Closed;
}
