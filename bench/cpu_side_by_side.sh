#!/usr/bin/env bash
# CPU and peak memory of the real game beside another SDL breakout game
# (Debian's lbreakouthd, animated menu with its demo game), in one run on the
# same machine, at 1920x1080 under a private Xvfb.
#
#   bench/cpu_side_by_side.sh [build-dir] [rounds]     (default build/, 3)
#
# Each round: teramon2 on the title screen, then in play after [Shift], then
# lbreakouthd. Every figure is the CPU time of the whole process (all threads)
# over MEASURE_S seconds (default 8), starting SETTLE_S second (default 1)
# after the start or the key press, divided by the wall time: "cores".
# Peak RSS is the process's VmHWM at the end of its run. The games run from /,
# with a private HOME and the dummy audio driver.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=$(cd "${1:-build}" && pwd)
ROUNDS=${2:-3}
SETTLE_S=${SETTLE_S:-1}
MEASURE_S=${MEASURE_S:-8}
PROGRAM="$BUILD/teramon2"
[ -x "$PROGRAM" ] || { echo "bench: $PROGRAM not built" >&2; exit 1; }

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
need_pkgs=()
command -v Xvfb >/dev/null || need_pkgs+=(xvfb)
command -v xdotool >/dev/null || need_pkgs+=(xdotool)
[ -x /usr/games/lbreakouthd ] || command -v lbreakouthd >/dev/null || need_pkgs+=(lbreakouthd)
if [ ${#need_pkgs[@]} -gt 0 ]; then
  echo "bench: installing ${need_pkgs[*]}" >&2
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "${need_pkgs[@]}" >/dev/null
fi
BREAKOUT=$(command -v lbreakouthd || echo /usr/games/lbreakouthd)

work=$(mktemp -d /tmp/teramon_cpu_XXXXXX)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display number nobody uses.
dpy=${BENCH_DISPLAY:-}
if [ -z "$dpy" ]; then
  for n in $(seq 70 99); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { dpy=$n; break; }
  done
fi
Xvfb ":$dpy" -screen 0 1920x1080x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$dpy" ] && break; sleep 0.1; done
export DISPLAY=":$dpy" SDL_AUDIODRIVER=dummy

ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# Cores used by process $1 over MEASURE_S seconds.
measure() {
  local a b
  a=$(cpu_ticks "$1")
  sleep "$MEASURE_S"
  b=$(cpu_ticks "$1")
  awk -v a="$a" -v b="$b" -v t="$ticks" -v s="$MEASURE_S" 'BEGIN { printf "%.3f", (b - a) / t / s }'
}
peak_mb() { awk '/^VmHWM/ { printf "%.0f", $2 / 1024 }' "/proc/$1/status"; }
stop() { kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }

fresh_home() {
  local h="$work/home$1"
  rm -rf "$h"
  mkdir -p "$h/Documents"
  echo "$h"
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
results="$work/results"
: >"$results"
for round in $(seq "$ROUNDS"); do
  home=$(fresh_home "t$round")
  (cd / && HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DOCUMENTS_DIR="$home/Documents" \
    exec "$PROGRAM") >"$work/teramon$round.log" 2>&1 &
  pid=$!
  sleep "$SETTLE_S"
  title=$(measure "$pid")
  title_mb=$(peak_mb "$pid")
  xdotool mousemove 960 900 key shift
  sleep "$SETTLE_S"
  play=$(measure "$pid")
  mb=$(peak_mb "$pid")
  stop "$pid"
  echo "teramon2_title $round $title $title_mb" >>"$results"
  echo "teramon2_play $round $play $mb" >>"$results"

  home=$(fresh_home "b$round")
  (cd / && HOME="$home" exec "$BREAKOUT") >"$work/breakout$round.log" 2>&1 &
  pid=$!
  sleep "$SETTLE_S"
  other=$(measure "$pid")
  mb=$(peak_mb "$pid")
  stop "$pid"
  echo "lbreakouthd $round $other $mb" >>"$results"
  echo "round $round: teramon2 title $title, in play $play; lbreakouthd $other cores" >&2
done

echo "Load average before: $load_before, after: $(cut -d' ' -f1-3 /proc/loadavg) (other work on the machine skews every figure)"
echo
echo "| run | cores (each round) | peak RSS (each round) |"
echo "|---|---:|---:|"
for what in teramon2_title teramon2_play lbreakouthd; do
  case $what in
    teramon2_title) label="teramon2, title screen" ;;
    teramon2_play) label="teramon2, in play after [Shift]" ;;
    lbreakouthd) label="lbreakouthd, menu with demo game" ;;
  esac
  cores=$(awk -v w="$what" '$1 == w { printf "%s%s", sep, $3; sep = " / " }' "$results")
  rss=$(awk -v w="$what" '$1 == w { printf "%s%s MB", sep, $4; sep = " / " }' "$results")
  echo "| $label | $cores | $rss |"
done
echo
# In-play cores against the other game's, round by round.
awk '$1 == "teramon2_play" { p[$2] = $3 } $1 == "lbreakouthd" { l[$2] = $3 }
     END { printf "ratio teramon2 in play / lbreakouthd:"
           for (r = 1; r in p; r++) printf " %s", (l[r] > 0 ? sprintf("%.2f", p[r] / l[r]) : "n/a")
           print "" }' "$results"
