#!/usr/bin/env bash
# The Debian package on a machine that has only Debian's packages: bootstraps a
# minimal Debian 12 in a folder (debootstrap --variant=minbase), installs the
# package from the build with apt-get there, starts the installed game from /
# in that system under a private Xvfb (the screenshot must not be blank; [Shift],
# [Esc], status 0, the game saved in HOME), lets teramon2-say speak a question,
# removes the package and checks the player's data folder is kept.
# Needs root and the network to Debian's archive; takes a few minutes; not part
# of .ci/run.
#   scripts/check_deb_minimal_debian.sh [build-dir] [system-folder]
#     system-folder: kept between runs (default /var/tmp/teramon2-bookworm)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=$(cd "${1:-build}" && pwd)
ROOT=${2:-/var/tmp/teramon2-bookworm}
[ "$(id -u)" -eq 0 ] || { echo "check_deb: run as root (debootstrap and chroot)" >&2; exit 1; }
for tool in cpack Xvfb xdotool convert; do
  command -v "$tool" >/dev/null || { echo "check_deb: $tool is missing" >&2; exit 1; }
done
command -v debootstrap >/dev/null ||
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null

step() { echo "check_deb: $*"; }
fail() { echo "check_deb: FAILED: $*" >&2; exit 1; }
mounted=()
xvfb=
cleanup() {
  for m in "${mounted[@]}"; do umount "$m" 2>/dev/null || true; done
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

if [ ! -x "$ROOT/usr/bin/apt-get" ]; then
  debootstrap --variant=minbase bookworm "$ROOT" http://deb.debian.org/debian >"$BUILD/debootstrap.log" 2>&1 ||
    { tail -20 "$BUILD/debootstrap.log" >&2; fail "debootstrap"; }
fi
step "minimal Debian 12 in $ROOT: $(chroot "$ROOT" dpkg-query -W | wc -l) packages"

deb_dir=$(mktemp -d /tmp/teramon_deb_XXXXXX)
cpack -G DEB -B "$deb_dir" --config "$BUILD/CPackConfig.cmake" >"$deb_dir/cpack.log" 2>&1 || fail "cpack -G DEB"
deb=$(ls "$deb_dir"/teramon2_*.deb)
cp "$deb" "$ROOT/root/" && rm -rf "$deb_dir"
deb=/root/$(basename "$deb")
cp /etc/resolv.conf "$ROOT/etc/resolv.conf"

for m in /proc /dev /tmp/.X11-unix; do
  mkdir -p "$ROOT$m" && mount --bind "$m" "$ROOT$m" && mounted=("$ROOT$m" "${mounted[@]}")
done
in_root() { chroot "$ROOT" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@"; }

in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb" >"$ROOT/root/apt.log" 2>&1 ||
  { tail -20 "$ROOT/root/apt.log" >&2; fail "apt-get install $deb"; }
step "apt-get install: $(grep -c '^Setting up' "$ROOT/root/apt.log") packages set up"

display=:$(( 90 + RANDOM % 9 ))
Xvfb "$display" -screen 0 1280x720x24 >/dev/null 2>&1 & xvfb=$!
sleep 1
home=/root/teramon_home
rm -rf "$ROOT$home" && mkdir -p "$ROOT$home"
(in_root sh -c "cd / && HOME=$home DISPLAY=$display SDL_AUDIODRIVER=dummy TERAMON_SCREENSHOT=$home/title.png \
   TERAMON_SCREENSHOT_AFTER_MS=4000 /usr/bin/teramon2 >$home/log 2>&1; echo \$? >$home/status") &
game=$!
for _ in $(seq 1 40); do [ -s "$ROOT$home/title.png" ] && break; sleep 0.5; done
DISPLAY=$display xdotool key shift
sleep 2
for _ in $(seq 1 10); do [ -f "$ROOT$home/status" ] && break; DISPLAY=$display xdotool key Escape; sleep 1; done
wait "$game" || true
status=$(cat "$ROOT$home/status" 2>/dev/null || echo "none")
[ "$status" = 0 ] || { cat "$ROOT$home/log" >&2; fail "the installed game ended with status $status"; }
spread=$(convert "$ROOT$home/title.png" -format '%[fx:standard_deviation]' info:)
awk -v s="$spread" 'BEGIN { exit !(s > 0.05) }' || fail "the title screen is blank (standard deviation $spread)"
data="$ROOT$home/Documents/みずうみ舎/TeramonData"
[ -f "$data/newrecord.dat" ] && [ -f "$data/Settei.ini" ] || fail "the game was not saved in HOME"
step "installed game started from /: title screen drawn (standard deviation $spread), [Shift] [Esc] -> status 0, game saved"

in_root /usr/lib/teramon2/teramon2-say --question 5 --wav /root/say.wav || fail "teramon2-say"
bytes=$(stat -c %s "$ROOT/root/say.wav")
[ "$bytes" -gt 100000 ] || fail "teramon2-say wrote only $bytes bytes"
step "teramon2-say --question 5: $bytes bytes of speech"

in_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y teramon2 >/dev/null 2>&1 || fail "apt-get remove"
[ ! -e "$ROOT/usr/lib/teramon2" ] || fail "files left in /usr/lib/teramon2"
[ -f "$data/newrecord.dat" ] || fail "the player's data went with the package"
step "apt-get remove: program gone, the player's data folder kept"
step "ok"
