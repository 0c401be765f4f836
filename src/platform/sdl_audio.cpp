#include "platform/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>

namespace tumbleroo {

namespace {

// The effects are recorded at 22050 Hz: played at that rate they need no
// resampling and half the memory and mixing of 44100 Hz, which is the
// fallback. 512 samples keep the delay after a key press near 23 ms.
constexpr int kAudioChunkSamples = 512;
constexpr int kAudioRates[] = {22050, 44100};

}  // namespace

bool SdlAudio::Open() {
    if (open_) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    for (int rate : kAudioRates) {
        if (Mix_OpenAudio(rate, MIX_DEFAULT_FORMAT, 2, kAudioChunkSamples) == 0) {
            open_ = true;
            return true;
        }
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

void SdlAudio::Close() {
    if (!open_) return;
    Mix_HaltChannel(-1);
    for (Mix_Chunk*& chunk : sounds_) {
        if (chunk) Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
    sounds_.clear();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open_ = false;
}

int SdlAudio::LoadSound(const std::string& path) {
    if (!open_) return -1;
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    if (!chunk) return -1;
    // The effects are freed and loaded again at every visit of the
    // title: reuse the numbers of freed sounds.
    const auto freeSlot = std::find(sounds_.begin(), sounds_.end(), nullptr);
    if (freeSlot != sounds_.end()) {
        *freeSlot = chunk;
        return static_cast<int>(freeSlot - sounds_.begin());
    }
    sounds_.push_back(chunk);
    return static_cast<int>(sounds_.size()) - 1;
}

void SdlAudio::FreeSound(int sound) {
    Mix_Chunk* chunk = Chunk(sound);
    if (!chunk) return;
    // Freeing stops every channel that plays it.
    Mix_FreeChunk(chunk);
    sounds_[static_cast<size_t>(sound)] = nullptr;
}

bool SdlAudio::IsChannelPlaying(int channel) const {
    return open_ && ValidChannel(channel) && Mix_Playing(channel) != 0;
}

void SdlAudio::StopChannel(int channel) {
    if (open_ && ValidChannel(channel)) Mix_HaltChannel(channel);
}

void SdlAudio::PlayOnChannel(int channel, int sound) {
    Mix_Chunk* chunk = Chunk(sound);
    if (!chunk || !ValidChannel(channel)) return;
    Mix_PlayChannel(channel, chunk, 0);
}

void SdlAudio::EnsureChannels(int count) {
    if (open_ && count > Mix_AllocateChannels(-1)) Mix_AllocateChannels(count);
}

Mix_Chunk* SdlAudio::Chunk(int sound) const {
    if (sound < 0 || static_cast<size_t>(sound) >= sounds_.size()) return nullptr;
    return sounds_[static_cast<size_t>(sound)];
}

bool SdlAudio::ValidChannel(int channel) const { return channel >= 0 && channel < Mix_AllocateChannels(-1); }

}  // namespace tumbleroo
