// The six sound effects. Each effect owns a few platform channels (its
// buffers) so that it can overlap itself; playing takes the next channel in
// turn and starts it from the beginning. Effects never share channels, so a
// burst of coins cannot cut off a jump.
#include "sound/sound.h"

#include <array>

#include "platform/platform.h"

namespace tumbleroo {

namespace {

constexpr const char* kNoSoundMessage = "DirectSoundは利用できません。";
constexpr const char* kSoundFolder = "Se/";

struct EffectFile {
    SoundId id;
    const char* fileName;
    int16_t buffers;
};

// In loading order; channels are handed out in this order from 0.
constexpr std::array<EffectFile, kSoundCount> kEffectFiles = {{
    {SoundId::Select, "Select.wav", 1},
    {SoundId::Decide, "Decide.wav", 1},
    {SoundId::Coin, "Coin.wav", 4},
    {SoundId::Jump, "Jump.wav", 2},
    {SoundId::Gya, "Gya.wav", 3},
    {SoundId::GameOver, "GameOver.wav", 1},
}};

constexpr int TotalChannels() {
    int total = 0;
    for (const EffectFile& file : kEffectFiles) total += file.buffers;
    return total;
}

SoundEffect& EffectOf(Game& game, SoundId id) {
    return game.sound.effects[static_cast<size_t>(id)];
}

// Lets go of every loaded sound; the effects are left without buffers.
void FreeEffects(Game& game) {
    for (SoundEffect& effect : game.sound.effects) {
        if (effect.sound >= 0) game.platform->FreeSound(effect.sound);
        effect = SoundEffect{};
    }
}

}  // namespace

bool InitSound(Game& game) {
    if (!game.platform->OpenAudio()) {
        game.platform->ShowMessage(kNoSoundMessage);
        return false;
    }
    game.sound.deviceOpen = true;
    game.platform->EnsureChannels(TotalChannels());
    return true;
}

SoundEffect LoadSoundEffect(Game& game, const std::string& path, int16_t count, int firstChannel) {
    SoundEffect effect;
    effect.sound = game.platform->LoadSound(path);
    if (effect.sound < 0) return effect;
    for (int i = 0; i < count; ++i) effect.Buffers.push_back(firstChannel + i);
    effect.Count = count;
    effect.Current = 0;
    return effect;
}

// The files are found by full path under the game folder: the current
// directory is left alone, since the records and settings are written by
// path too and nothing else should depend on where the process stands.
void LoadSoundEffects(Game& game) {
    if (!InitSound(game)) return;
    FreeEffects(game);
    const std::string folder = game.run.BasePath + kSoundFolder;
    int nextChannel = 0;
    for (const EffectFile& file : kEffectFiles) {
        EffectOf(game, file.id) = LoadSoundEffect(game, folder + file.fileName, file.buffers, nextChannel);
        nextChannel += file.buffers;
    }
}

// A channel asked to play while still sounding starts over (the platform's
// rule), so the oldest copy of a rapidly repeated effect is cut and restarted.
void PlaySound(Game& game, SoundId id) {
    if (!IsOn(game.settings.PlayMusic)) return;
    SoundEffect& effect = EffectOf(game, id);
    if (effect.Count <= 0 || effect.sound < 0) return;
    effect.Current = static_cast<int16_t>((effect.Current + 1) % effect.Count);
    game.platform->PlayOnChannel(effect.Buffers[static_cast<size_t>(effect.Current)], effect.sound);
}

void ReleaseSound(Game& game) {
    FreeEffects(game);
    if (game.sound.deviceOpen) game.platform->CloseAudio();
    game.sound.deviceOpen = false;
}

}  // namespace tumbleroo
