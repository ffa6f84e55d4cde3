#!/usr/bin/env bash
# A real-window smoke test under Xvfb: start the program from the root folder
# (as a desktop launcher would: no Data/ in the working folder) with a fresh home
# and documents folder, check in a screenshot that the title picture and the
# paddle are drawn, press [Shift], let the countdown run out, check that a
# screenshot is not blank, quit with [Esc], check the saved files, then start
# again over them and check they survive a second run.
#   scripts/smoke_xvfb.sh [build-dir]     (default build/)
#   SMOKE_SCREEN=1920x1080 scripts/smoke_xvfb.sh   (default 1280x720)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=$(cd "${1:-build}" && pwd)
PROGRAM="$BUILD/teramon2"
[ -x "$PROGRAM" ] || { echo "smoke: $PROGRAM not built" >&2; exit 1; }
for tool in xvfb-run xdotool identify import convert compare; do
  command -v "$tool" >/dev/null || { echo "smoke: $tool is missing (xvfb, xdotool, imagemagick)" >&2; exit 1; }
done

screen=${SMOKE_SCREEN:-1280x720}
SW=${screen%x*} SH=${screen#*x}
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
program=$1 shot=$2 log=$3 title=$4 padx=$5 pady=$6
cd /
TERAMON_SCREENSHOT="$shot" TERAMON_SCREENSHOT_AFTER_MS=9000 "$program" >"$log" 2>&1 &
pid=$!
sleep 2
xdotool mousemove "$padx" "$pady"  # the paddle follows the pointer
sleep 1
import -window root "$title"  # the title screen
xdotool mousemove "$padx" "$pady"
xdotool key shift
sleep 6                      # countdown (5 s) and the screenshot at 9 s
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

# The pointer for the paddle: 30 % across, near the bottom (clear of the help panel).
padx=$(( SW * 3 / 10 )) pady=$(( SH * 9 / 10 ))
xvfb-run -a -s "-screen 0 ${SW}x${SH}x24" "$work/session.sh" "$PROGRAM" "$work/shot1.png" "$work/run1.log" \
  "$work/title.png" "$padx" "$pady" || fail "the first run did not end cleanly"

# Is a picture drawn at its place on the screen? The screenshot's region (a few
# pixels in from its edges) must look like the picture over the background, and
# much less like the background alone. Places are design units of 800 x 600.
drawn() {  # name picture x y w h
  local name=$1 picture=$2
  read -r px py pw ph < <(awk -v sw="$SW" -v sh="$SH" -v x="$3" -v y="$4" -v w="$5" -v h="$6" \
    'BEGIN { printf "%d %d %d %d\n", x*sw/800+0.5, y*sh/600+0.5, w*sw/800+0.5, h*sh/600+0.5 }')
  local crop="$(( pw - 8 ))x$(( ph - 8 ))+$(( px + 4 ))+$(( py + 4 ))"
  convert "$BUILD/Data/haikei1.jpg" -resize "${SW}x${SH}!" "$work/background.png"
  convert "$work/background.png" \( "$picture" -resize "${pw}x${ph}!" \) -geometry "+$px+$py" -composite \
    -crop "$crop" +repage "$work/$name.expected.png"
  convert "$work/background.png" -crop "$crop" +repage "$work/$name.background.png"
  convert "$work/title.png" -crop "$crop" +repage "$work/$name.actual.png"
  local to_picture to_background
  # compare exits with 1 when the images differ at all: only its figure counts.
  to_picture=$({ compare -metric RMSE "$work/$name.actual.png" "$work/$name.expected.png" null: 2>&1 || true; } \
    | sed 's/.*(\(.*\))/\1/')
  to_background=$({ compare -metric RMSE "$work/$name.actual.png" "$work/$name.background.png" null: 2>&1 || true; } \
    | sed 's/.*(\(.*\))/\1/')
  echo "smoke: $name at ${pw}x${ph}+$px+$py: distance to the picture $to_picture, to the background $to_background"
  awk -v p="$to_picture" -v b="$to_background" 'BEGIN { exit !(p < 0.12 && p * 2 < b) }' \
    || fail "the $name is not drawn (distance to the picture $to_picture, to the background $to_background)"
}
[ -s "$work/title.png" ] || fail "no screenshot of the title screen was taken"
drawn title "$BUILD/Data/Png/title.png" 120 152 553 162
# The paddle (64 x 26 at y 544) is centred under the pointer.
drawn paddle "$BUILD/Data/Png/pad.png" "$(awk -v x="$padx" -v sw="$SW" 'BEGIN { print x*800/sw - 32 }')" 544 64 26
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
xvfb-run -a -s "-screen 0 ${SW}x${SH}x24" env TERAMON_SCREENSHOT="$work/shot2.png" TERAMON_SCREENSHOT_AFTER_MS=3000 \
  TERAMON_QUIT_AFTER_SCREENSHOT=1 timeout 60 "$PROGRAM" >"$work/run2.log" 2>&1 || fail "the second run failed"
[ -s "$work/shot2.png" ] || fail "the second run took no screenshot"
cmp -s "$data/newrecord.dat" "$work/record.before" || fail "the second run changed the suspended game"

echo "smoke: ok (screenshot $size, standard deviation $spread; newrecord.dat 3428 bytes; Settei.ini $(stat -c %s "$data/Settei.ini") bytes)"
