// tumbleroo: the game in a real window.
#include <chrono>
#include <cstdio>

#include "platform/sdl_platform.h"
#include "shell/game.h"
#include "shell/program.h"
#include "shell/program_folder.h"

int main() {
    using namespace tumbleroo;
    std::unique_ptr<Platform> platform = CreateSdlPlatform();
    Game game;
    game.platform = platform.get();
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const uint64_t seed = static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    Form_Load(game, ProgramFolder(), seed);
    return 0;
}
