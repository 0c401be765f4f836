// The window's icon: the hero facing the player, cut from the built-in
// CharPic.
#pragma once

namespace tumbleroo {

struct Game;

void SetHeroWindowIcon(Game& game);

}  // namespace tumbleroo
