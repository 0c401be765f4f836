// The six sound effects: loading them into buffers and playing them in turn.
#pragma once

#include <string>

#include "shell/game.h"

namespace tumbleroo {

bool InitSound(Game& game);
// Loads one file; its buffers are the platform channels firstChannel to
// firstChannel + count - 1. An unreadable file gives an effect with none.
SoundEffect LoadSoundEffect(Game& game, const std::string& path, int16_t count, int firstChannel);
void LoadSoundEffects(Game& game);
void PlaySound(Game& game, SoundId effect);
void ReleaseSound(Game& game);

}  // namespace tumbleroo
