// Presenting-path probe: shows a scrolling 640 x 480 frame through the SDL
// platform for a few seconds, so that the cost of showing frames can be
// measured apart from the game. Prints the frames shown and the wall time.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/sdl_platform.h"

int main(int argc, char** argv) {
    using namespace tumbleroo;
    const int frames = argc > 1 ? std::atoi(argv[1]) : 600;
    std::unique_ptr<Platform> platform = CreateSdlPlatform();
    if (!platform->OpenDisplay()) {
        platform->ShowMessage("no display");
        return 1;
    }
    // A checkerboard of 20-pixel cells scrolled 5 pixels a frame; copying
    // rows of a wider pattern keeps the probe's own cost negligible.
    constexpr int kPatternWidth = 640 + 40;
    std::vector<uint16_t> pattern(kPatternWidth * 480);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < kPatternWidth; ++x) {
            pattern[y * kPatternWidth + x] = static_cast<uint16_t>((x / 20 + y / 20) % 2 ? 0x07E0 : 0x001F);
        }
    }
    // Two frames in turn, as the game's flip chain hands them.
    std::vector<uint16_t> buffers[2] = {std::vector<uint16_t>(640 * 480), std::vector<uint16_t>(640 * 480)};
    const auto start = std::chrono::steady_clock::now();
    for (int n = 0; n < frames; ++n) {
        const int offset = (n * 5) % 40;
        std::vector<uint16_t>& frame = buffers[n % 2];
        for (int y = 0; y < 480; ++y) {
            std::copy_n(&pattern[y * kPatternWidth + offset], 640, &frame[y * 640]);
        }
        platform->Present(frame.data(), n > 0 ? buffers[(n + 1) % 2].data() : nullptr, 640, 480);
        for (const WindowEvent& e : platform->TakePendingEvents()) {
            if (e.kind == WindowEvent::Kind::Close) n = frames;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("frames=%d seconds=%.2f fps=%.1f\n", frames, seconds, frames / seconds);
    platform->CloseDisplay();
    return 0;
}
