#!/usr/bin/env bash
# CPU of the real game while the learning window ([R]) is open and the player
# moves the pointer over it or types into its search box, beside the same
# pointer moves over the title screen. Runs at 1920x1080 (scale 1) and at
# 3840x2160 with the desktop at 200 % (Xft.dpi 192), each in its own Xvfb, with
# the software renderer as it is chosen there.
#
#   bench/learning_window_cpu.sh [build-dir] [seconds] [rounds]   (default build/, 5, 2)
#
# Per case the CPU time of the whole process (all threads, /proc/<pid>/stat),
# while xdotool moves the pointer 100 times a second for `seconds` (a slow
# sweep across the table, its rows and buttons), divided by the wall time:
# "cores". Typing: TYPED keystrokes (kana, and BackSpace to take them out
# again) into the search box, one every 300 ms; CPU per keystroke in ms,
# measured from the first keystroke to 0.5 s after the last. The game runs from
# /, with a private HOME and the dummy audio driver; SIZES="1920x1080x1 ..."
# picks the screens, BENCH_DISPLAY=N the X display number (else a free one).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=$(cd "${1:-build}" && pwd)
SECONDS_MOVING=${2:-5}
ROUNDS=${3:-2}
SIZES=${SIZES:-"1920x1080x1 3840x2160x2"}
SETTLE_S=${SETTLE_S:-4}
TYPED=${TYPED:-24}
PROGRAM="$BUILD/teramon2"
[ -x "$PROGRAM" ] || { echo "bench: $PROGRAM not built" >&2; exit 1; }
for tool in Xvfb xdotool xrdb; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is missing (scripts/install_deps.sh)" >&2; exit 1; }
done

work=$(mktemp -d /tmp/teramon_learning_cpu_XXXXXX)
xvfb_pid=
game_pid=
stop() { [ -n "$1" ] && { kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }; }
cleanup() {
  stop "$game_pid"
  stop "$xvfb_pid"
  rm -rf "$work"
}
trap cleanup EXIT

free_display() {
  [ -n "${BENCH_DISPLAY:-}" ] && { echo "$BENCH_DISPLAY"; return; }
  for n in $(seq 70 99); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { echo "$n"; return; }
  done
  echo "bench: no free display number" >&2
  exit 1
}

ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# xdotool arguments for 100 pointer moves a second over `seconds`: a sweep to
# and fro across the middle of the screen, drifting down through the table.
sweep_args() {
  local w=$1 h=$2 seconds=$3
  awk -v w="$w" -v h="$h" -v n="$((seconds * 100))" 'BEGIN {
    x0 = int(w * 0.10); x1 = int(w * 0.90); y0 = int(h * 0.20); y1 = int(h * 0.65)
    step = int(w / 400); if (step < 2) step = 2
    x = x0; y = y0; dx = step
    for (i = 0; i < n; i++) {
      printf "mousemove %d %d sleep 0.01 ", x, y
      x += dx
      if (x > x1 || x < x0) { dx = -dx; x += 2 * dx }
      y += 0.35 * step; if (y > y1) y = y0
    }
  }'
}

# Cores the game used while the pointer swept for SECONDS_MOVING.
moving_cost() {
  local w=$1 h=$2 a b t0 t1
  read -r -a args <<<"$(sweep_args "$w" "$h" "$SECONDS_MOVING")"
  a=$(cpu_ticks "$game_pid"); t0=$(date +%s.%N)
  xdotool "${args[@]}"
  b=$(cpu_ticks "$game_pid"); t1=$(date +%s.%N)
  echo "  $((SECONDS_MOVING * 100)) moves in $(awk -v t0="$t0" -v t1="$t1" 'BEGIN { printf "%.2f", t1 - t0 }') s" >&2
  awk -v a="$a" -v b="$b" -v k="$ticks" -v t0="$t0" -v t1="$t1" 'BEGIN { printf "%.3f", (b - a) / k / (t1 - t0) }'
}

# Milliseconds of CPU per keystroke typed into the search box.
typing_cost() {
  local a b i keys=()
  for ((i = 0; i < TYPED; i += 3)); do keys+=(type い type ち key BackSpace); done
  keys=("${keys[@]:0:$((TYPED * 2))}")
  local chain=()
  for ((i = 0; i < ${#keys[@]}; i += 2)); do chain+=("${keys[i]}" "${keys[i + 1]}" sleep 0.3); done
  a=$(cpu_ticks "$game_pid")
  xdotool "${chain[@]}"
  sleep 0.2
  b=$(cpu_ticks "$game_pid")
  awk -v a="$a" -v b="$b" -v k="$ticks" -v n="$TYPED" 'BEGIN { printf "%.1f", (b - a) * 1000 / k / n }'
}

results="$work/results"
: >"$results"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for size in $SIZES; do
  IFS=x read -r w h scale <<<"$size"
  for round in $(seq "$ROUNDS"); do
    dpy=$(free_display)
    Xvfb ":$dpy" -screen 0 "${w}x${h}x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$dpy" ] && break; sleep 0.1; done
    export DISPLAY=":$dpy" SDL_AUDIODRIVER=dummy
    echo "Xft.dpi: $((96 * scale))" | xrdb -merge
    home="$work/home$size$round"
    mkdir -p "$home/Documents"
    (cd / && LANG=C.UTF-8 HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DOCUMENTS_DIR="$home/Documents" \
      exec "$PROGRAM") >"$work/game.log" 2>&1 &
    game_pid=$!
    sleep "$SETTLE_S"
    title=$(moving_cost "$w" "$h")
    xdotool key r
    sleep 1.5
    window=$(moving_cost "$w" "$h")
    xdotool key Tab
    sleep 0.5
    typing=$(typing_cost)
    echo "$size $round $title $window $typing" >>"$results"
    echo "round $round at $size: title $title, learning window $window cores; ${typing} ms a keystroke" >&2
    stop "$game_pid"; game_pid=
    stop "$xvfb_pid"; xvfb_pid=
  done
done

echo "Load average before: $load_before, after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| screen | title, pointer moving (cores) | learning window, pointer moving (cores) | typing (ms CPU a keystroke) |"
echo "|---|---:|---:|---:|"
for size in $SIZES; do
  awk -v s="$size" '$1 == s { t = t sep $3; l = l sep $4; k = k sep $5; sep = " / " }
    END { split(s, d, "x"); printf "| %sx%s scale %s | %s | %s | %s |\n", d[1], d[2], d[3], t, l, k }' "$results"
done
