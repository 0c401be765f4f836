#!/usr/bin/env bash
# Installs the game's .deb with apt on a clean Debian 12 root and plays it
# from the installed files under Xvfb as an ordinary user: the window
# titled Tumbleroo must appear, and the records must land in the user's
# data folder (the installed game folder is not the user's to write).
#
#   sudo tools/package/test-deb.sh build/tumbleroo_1.0.0_amd64.deb
#
# Needs root, debootstrap and the Debian mirror (MIRROR, default
# deb.debian.org). Downloaded packages are kept in DEBCACHE (default
# /work/debcache), so a second run downloads nothing it already has.
set -euo pipefail

deb=$(realpath "${1:?usage: test-deb.sh PACKAGE.deb}")
mirror=${MIRROR:-http://deb.debian.org/debian}
cache=${DEBCACHE:-/work/debcache}
# How long to wait for the window (0.2 s steps) before calling it a failure.
window_tries=150

root=$(mktemp -d /tmp/tumbleroo-debroot.XXXXXX)
chmod 755 "$root"  # the root folder of the user's system, not root's alone
cleanup() {
  for m in "$root/var/cache/apt/archives" "$root/proc" "$root/dev"; do
    mountpoint -q "$m" && umount "$m"
  done
  rm -rf "$root"
}
trap cleanup EXIT

mkdir -p "$cache/debootstrap" "$cache/apt-archives/partial"
echo "== a clean Debian 12 root in $root"
debootstrap --variant=minbase --cache-dir="$cache/debootstrap" bookworm "$root" "$mirror" >/dev/null
mount --bind "$cache/apt-archives" "$root/var/cache/apt/archives"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"

echo "== apt install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" env DEBIAN_FRONTEND=noninteractive "$@"; }
in_root apt-get update -q >/dev/null
in_root apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")" \
  xvfb xauth xdotool >/dev/null
in_root useradd -m player

echo "== the game from the installed files, as the user player"
cat > "$root/tmp/play.sh" <<PLAY
#!/bin/sh
# Starts the game, waits for its window, then ends it as an interrupt does.
SDL_AUDIODRIVER=dummy tumbleroo --window &
pid=\$!
i=0
until xdotool search --name '^Tumbleroo\$' >/dev/null 2>&1; do
  i=\$((i + 1))
  if [ \$i -gt $window_tries ] || ! kill -0 \$pid 2>/dev/null; then
    echo "no Tumbleroo window"; kill \$pid 2>/dev/null; exit 1
  fi
  sleep 0.2
done
echo "window: \$(xdotool search --name '^Tumbleroo\$' getwindowname)"
kill -TERM \$pid
wait \$pid
echo "game exit: \$?"
PLAY
chmod 755 "$root/tmp/play.sh"
chroot --userspec=player:player "$root" env HOME=/home/player \
  xvfb-run -a -s "-screen 0 1280x960x24" /tmp/play.sh

records=$(find "$root/home/player/.local/share" -name MapInfo.dat 2>/dev/null | head -1)
if [ -z "$records" ]; then
  echo "FAIL: no records in the user's data folder"; exit 1
fi
echo "records: ${records#$root}"
echo "PASS"
