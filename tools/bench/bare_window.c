/* The least an SDL program with the game's window can do before its first
 * frame: open a 1280 x 960 window, fill its surface with one colour, show it
 * once. A yardstick for first_frame.sh, which reads the same notes as from
 * the game:
 *   gcc -O2 tools/bench/bare_window.c $(pkg-config --cflags --libs sdl2) -o /tmp/bare_window
 *   tools/bench/first_frame.sh /tmp/bare_window 6
 */
#include <SDL.h>
#include <stdio.h>
#include <time.h>

enum { kWidth = 1280, kHeight = 960, kStayMs = 5000 };

int main(void) {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_Window* window = SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          kWidth, kHeight, 0);
    SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : NULL;
    if (!surface) return 1;
    SDL_FillRect(surface, NULL, SDL_MapRGB(surface->format, 32, 48, 64));
    SDL_UpdateWindowSurface(window);
    struct timespec shown, used;
    clock_gettime(CLOCK_REALTIME, &shown);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    fprintf(stderr, "tumbleroo: first frame shown at %lld.%09ld\n", (long long)shown.tv_sec, shown.tv_nsec);
    fprintf(stderr, "tumbleroo: processor time until then %.1f ms\n",
            (double)used.tv_sec * 1e3 + (double)used.tv_nsec / 1e6);
    SDL_Delay(kStayMs);
    SDL_Quit();
    return 0;
}
