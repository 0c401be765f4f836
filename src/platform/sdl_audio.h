// Sound effects through SDL_mixer: loaded once, played on channels the
// game numbers itself.
#pragma once

#include <string>
#include <vector>

struct Mix_Chunk;

namespace tumbleroo {

class SdlAudio {
public:
    SdlAudio() = default;
    ~SdlAudio() { Close(); }
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    bool Open();
    void Close();
    int LoadSound(const std::string& path);  // -1 when unreadable
    void FreeSound(int sound);
    bool IsChannelPlaying(int channel) const;
    void StopChannel(int channel);
    void PlayOnChannel(int channel, int sound);
    void EnsureChannels(int count);

private:
    Mix_Chunk* Chunk(int sound) const;
    bool ValidChannel(int channel) const;

    bool open_ = false;
    std::vector<Mix_Chunk*> sounds_;
};

}  // namespace tumbleroo
