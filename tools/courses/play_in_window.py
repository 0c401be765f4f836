#!/usr/bin/env python3
"""Plays courses in the real game window with their clear scripts.

Each course is started with `tumbleroo --map NAME --seed 1` (the seed the
tests use) and its key script from tests/courses is pressed through the X
server's XTest extension, frame by frame against the game's own 60 Hz beat,
so the run in the window matches the driver's run. Screenshots are taken at
a few points of every run. Run it inside a virtual screen:

    xvfb-run -a -s "-screen 0 1280x960x24" tools/courses/play_in_window.py \
        build OUT_DIR C1-1 C1-2 ...

Needs libXtst and ImageMagick's `import`. The clears go into the records of
the build's game folder, as when a player clears them.
"""
import ctypes
import os
import subprocess
import sys
import time

FRAME_S = 1 / 60
KEYSYMS = {'RIGHT': b'Right', 'LEFT': b'Left', 'UP': b'Up', 'DOWN': b'Down',
           'Z': b'z', 'ENTER': b'Return', 'ESC': b'Escape'}
SHOT_POINTS = (0.2, 0.45, 0.7, 0.95)  # fractions of the script's length


def read_script(path):
    """Returns {key: [(from, to), ...]} and the last flip named."""
    ranges, last = {}, 0
    for line in open(path):
        line = line.strip()
        if not line or line.startswith('#'):
            continue
        span, keys = line.split()
        first, _, end = span.partition('-')
        first, end = int(first), int(end or first)
        for key in keys.split('+'):
            ranges.setdefault(key.upper(), []).append((first, end))
        last = max(last, end)
    return ranges, last


class XTest:
    def __init__(self):
        self.x11 = ctypes.cdll.LoadLibrary('libX11.so.6')
        self.xtst = ctypes.cdll.LoadLibrary('libXtst.so.6')
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XStringToKeysym.restype = ctypes.c_ulong
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(None)
        if not self.display:
            sys.exit('no X display (run inside xvfb-run)')
        self.codes = {key: self.x11.XKeysymToKeycode(self.display, self.x11.XStringToKeysym(sym))
                      for key, sym in KEYSYMS.items()}

    def set_key(self, key, down):
        self.xtst.XTestFakeKeyEvent(self.display, self.codes[key], 1 if down else 0, 0)

    def flush(self):
        self.x11.XFlush(self.display)


def play(xtest, build, out_dir, course, script):
    ranges, last = read_script(script)
    env = dict(os.environ, SDL_AUDIODRIVER=os.environ.get('SDL_AUDIODRIVER', 'dummy'),
               TUMBLEROO_TIMING='1')
    game = subprocess.Popen([os.path.join(build, 'tumbleroo'), '--map', course, '--seed', '1'],
                            cwd=build, env=env, stderr=subprocess.PIPE, text=True)
    game.stderr.readline()  # the timing note: flip 1 is on screen
    start = time.monotonic()
    shots = {int(last * point) for point in SHOT_POINTS}
    held = {key: False for key in KEYSYMS}
    for flip in range(1, last + 2):  # one more to let go of the keys in time
        # The keys of flip N are read right after it: press half a frame early.
        wait = start + (flip - 1.5) * FRAME_S - time.monotonic()
        if wait > 0:
            time.sleep(wait)
        for key in KEYSYMS:
            down = any(a <= flip <= b for a, b in ranges.get(key, []))
            if down != held[key]:
                xtest.set_key(key, down)
                held[key] = down
        xtest.flush()
        if flip in shots:
            subprocess.Popen(['import', '-window', 'root', '-resize', '640x512',
                              os.path.join(out_dir, f'{course}_{flip:05d}.png')])
    try:
        game.wait(timeout=15)  # the goal tally and the zoom, then the game ends
    except subprocess.TimeoutExpired:
        game.send_signal(2)
        game.wait()
    print(f'{course}: played, exit code {game.returncode}')


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    build, out_dir, courses = os.path.abspath(sys.argv[1]), sys.argv[2], sys.argv[3:]
    os.makedirs(out_dir, exist_ok=True)
    scripts = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tests', 'courses')
    xtest = XTest()
    for course in courses:
        play(xtest, build, out_dir, course, os.path.join(scripts, course + '.keys'))


if __name__ == '__main__':
    main()
