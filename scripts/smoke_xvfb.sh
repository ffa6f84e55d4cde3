#!/usr/bin/env bash
# A real-window smoke test under Xvfb: start the program with a fresh home and
# documents folder, press [Shift], let the countdown run out, check that a
# screenshot is not blank, quit with [Esc], check the saved files, then start
# again over them and check they survive a second run.
#   scripts/smoke_xvfb.sh [build-dir]     (default build/)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=$(cd "${1:-build}" && pwd)
PROGRAM="$BUILD/teramon2"
[ -x "$PROGRAM" ] || { echo "smoke: $PROGRAM not built" >&2; exit 1; }
for tool in xvfb-run xdotool identify; do
  command -v "$tool" >/dev/null || { echo "smoke: $tool is missing (xvfb, xdotool, imagemagick)" >&2; exit 1; }
done

work=$(mktemp -d /tmp/teramon_smoke_XXXXXX)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DOCUMENTS_DIR="$work/docs" XDG_CONFIG_HOME="$work/home/.config"
export SDL_AUDIODRIVER=dummy
mkdir -p "$HOME" "$XDG_DOCUMENTS_DIR"
data="$XDG_DOCUMENTS_DIR/みずうみ舎/TeramonData"

# Runs inside the X server: play, screenshot, [Esc].
cat >"$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -u
program=$1 shot=$2 log=$3
TERAMON_SCREENSHOT="$shot" TERAMON_SCREENSHOT_AFTER_MS=9000 "$program" >"$log" 2>&1 &
pid=$!
sleep 3
xdotool mousemove 640 600
xdotool key shift
sleep 8                      # countdown (5 s) and the screenshot at 9 s
for _ in 1 2 3 4 5 6 7 8 9 10; do
  kill -0 "$pid" 2>/dev/null || break
  xdotool key Escape         # refused while an explosion shows: try again
  sleep 1
done
if kill -0 "$pid" 2>/dev/null; then kill "$pid"; echo "program did not quit on [Esc]"; exit 1; fi
wait "$pid"
SESSION
chmod +x "$work/session.sh"

fail() { echo "smoke: FAILED: $*" >&2; sed 's/^/  program: /' "$work"/run*.log >&2 2>/dev/null || true; exit 1; }

xvfb-run -a -s "-screen 0 1280x720x24" "$work/session.sh" "$PROGRAM" "$work/shot1.png" "$work/run1.log" \
  || fail "the first run did not end cleanly"
[ -s "$work/shot1.png" ] || fail "no screenshot was taken"
spread=$(identify -format '%[fx:standard_deviation]' "$work/shot1.png")
size=$(identify -format '%wx%h' "$work/shot1.png")
awk -v s="$spread" 'BEGIN { exit !(s > 0.02) }' || fail "the screenshot is blank (standard deviation $spread)"
[ -f "$data/Settei.ini" ] || fail "Settei.ini was not saved"
[ -f "$data/newrecord.dat" ] || fail "newrecord.dat was not saved on [Esc]"
record_bytes=$(stat -c %s "$data/newrecord.dat")
[ "$record_bytes" -eq 3428 ] || fail "newrecord.dat is $record_bytes bytes, not 3428"
cp "$data/newrecord.dat" "$work/record.before"

# Second start over the saved files: it must come up (the resume question) and
# leave the suspended game as it was.
xvfb-run -a -s "-screen 0 1280x720x24" env TERAMON_SCREENSHOT="$work/shot2.png" TERAMON_SCREENSHOT_AFTER_MS=3000 \
  TERAMON_QUIT_AFTER_SCREENSHOT=1 timeout 60 "$PROGRAM" >"$work/run2.log" 2>&1 || fail "the second run failed"
[ -s "$work/shot2.png" ] || fail "the second run took no screenshot"
cmp -s "$data/newrecord.dat" "$work/record.before" || fail "the second run changed the suspended game"

echo "smoke: ok (screenshot $size, standard deviation $spread; newrecord.dat 3428 bytes; Settei.ini $(stat -c %s "$data/Settei.ini") bytes)"
