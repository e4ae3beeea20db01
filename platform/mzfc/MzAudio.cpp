#include "mzfc/MzAudio.h"

#include "ce/CeNotice.h"
#include "ce/CeUtf16.h"
#include "mzfc/MzHostPath.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

enum class State { Closed, Open, Unavailable };

struct AudioState {
    State state = State::Closed;
    std::map<std::string, Mix_Chunk*> chunks; // loaded sounds, kept for the next time
};

AudioState g_audio;
constexpr size_t kMaxCachedSounds = 32;

bool EnsureOpen() {
    if (g_audio.state != State::Closed)
        return g_audio.state == State::Open;
    g_audio.state = State::Unavailable;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(1);
    g_audio.state = State::Open;
    return true;
}

} // namespace

MzAudio& MzAudio::Instance() {
    static MzAudio audio;
    return audio;
}

bool MzAudio::Play(LPCWSTR cePath) {
    std::string host = MzHostPath::ForReading(cePath);
    if (host.empty()) {
        const std::string name = cePath ? CeUtf16::ToUtf8(cePath) : "(none)";
        CeNotice::Once("sound " + name,
                       "cannot play the sound " + name + ": No such file or directory");
        return false;
    }
    if (!EnsureOpen())
        return false;
    Mix_HaltChannel(0);
    Mix_Chunk* chunk = nullptr;
    auto it = g_audio.chunks.find(host);
    if (it != g_audio.chunks.end()) {
        chunk = it->second;
    } else {
        chunk = Mix_LoadWAV(host.c_str());
        if (!chunk) {
            CeNotice::Once("sound " + host,
                           "cannot play the sound " + host + ": " + Mix_GetError());
            return false;
        }
        if (g_audio.chunks.size() >= kMaxCachedSounds) { // nothing plays now: safe to free
            for (auto& entry : g_audio.chunks)
                Mix_FreeChunk(entry.second);
            g_audio.chunks.clear();
        }
        g_audio.chunks[host] = chunk;
    }
    return Mix_PlayChannel(0, chunk, 0) == 0;
}

void MzAudio::Stop() {
    if (g_audio.state == State::Open)
        Mix_HaltChannel(0);
}

void MzAudio::Close() {
    if (g_audio.state == State::Open) {
        Mix_HaltChannel(0);
        for (auto& entry : g_audio.chunks)
            Mix_FreeChunk(entry.second);
        g_audio.chunks.clear();
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    g_audio.state = State::Closed;
}
