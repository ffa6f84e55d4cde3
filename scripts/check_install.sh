#!/usr/bin/env bash
# Checks the game as a player installs it:
#  1. `cmake --install` into a temporary DESTDIR: the program folder is complete
#     (binary, a real copy of Data/, both voices with their licence files),
#     bin/teramon2 is a relative symlink to the binary, menu entry, icons,
#     metainfo and copyright are in place and agree with each other;
#  2. the menu entry and the metainfo pass desktop-file-validate and
#     appstreamcli validate --no-net;
#  3. the installed game, started from / under Xvfb with a private HOME, draws
#     the title picture and the paddle and ends on [Esc] with status 0;
#  4. cpack builds the .deb; its control data and contents are listed and its
#     files are the ones `cmake --install` put in place.
#   scripts/check_install.sh [build-dir]          (default build/)
#
# With --apt (root or sudo): install the .deb with apt-get on this machine,
# start /usr/bin/teramon2 from / as in 3., remove the package and check the
# player's data folder is still there.
#   scripts/check_install.sh --apt [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
SOURCE=$(pwd)
APT=0
if [ "${1:-}" = "--apt" ]; then APT=1; shift; fi
BUILD=$(cd "${1:-build}" && pwd)
for tool in cmake cpack xvfb-run xdotool convert identify desktop-file-validate appstreamcli dpkg-deb; do
  command -v "$tool" >/dev/null || { echo "check_install: $tool is missing (scripts/install_deps.sh)" >&2; exit 1; }
done

work=$(mktemp -d /tmp/teramon_install_XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "check_install: FAILED: $*" >&2; exit 1; }
step() { echo "check_install: $*"; }

# Only what is installed needs building (installing builds nothing itself).
targets=(teramon2)
grep -q '/teramon2-say\.dir$' "$BUILD/CMakeFiles/TargetDirectories.txt" 2>/dev/null && targets+=(teramon2-say)
cmake --build "$BUILD" --target "${targets[@]}" >/dev/null

# ------------------------------------------------------------ 1. cmake --install
DEST="$work/dest"
PREFIX=/usr/local
DESTDIR="$DEST" cmake --install "$BUILD" >"$work/install.log" || { cat "$work/install.log" >&2; fail "cmake --install"; }
root="$DEST$PREFIX"
pdir="$root/lib/teramon2"

# Everything a program folder must hold, and nothing of the build tree.
check_program_folder() {  # $1 = program folder, $2 = what it is called in messages
  local dir=$1 what=$2
  [ -x "$dir/teramon2" ] && [ ! -L "$dir/teramon2" ] || fail "$what: no teramon2 binary"
  [ -d "$dir/Data" ] && [ ! -L "$dir/Data" ] || fail "$what: Data/ is missing or a symlink"
  diff -r "$SOURCE/Data" "$dir/Data" >"$work/data.diff" || { head "$work/data.diff" >&2; fail "$what: Data/ differs from the source Data/"; }
  local f
  for f in f1/voice.htsvoice f1/README.txt m1/voice.htsvoice m1/COPYING m1/README; do
    cmp -s "$BUILD/$f" "$dir/$f" || fail "$what: $f is missing or differs from $BUILD/$f"
  done
  if [ -x "$BUILD/teramon2-say" ]; then
    [ -x "$dir/teramon2-say" ] || fail "$what: the build has teramon2-say, the program folder does not"
  fi
  local extra
  extra=$(cd "$dir" && find . -mindepth 1 -maxdepth 1 ! -name Data ! -name f1 ! -name m1 ! -name teramon2 ! -name teramon2-say)
  [ -z "$extra" ] || fail "$what: unexpected files in the program folder: $extra"
}
check_program_folder "$pdir" "cmake --install"

link=$(readlink "$root/bin/teramon2") || fail "bin/teramon2 is not a symlink"
[ "$link" = "../lib/teramon2/teramon2" ] || fail "bin/teramon2 points to $link, not ../lib/teramon2/teramon2"
[ "$(readlink -f "$root/bin/teramon2")" = "$(readlink -f "$pdir/teramon2")" ] || fail "bin/teramon2 does not reach the binary"

desktop=$(ls "$root"/share/applications/*.desktop)
metainfo=$(ls "$root"/share/metainfo/*.metainfo.xml)
[ "$(echo "$desktop" | wc -l)" -eq 1 ] && [ "$(echo "$metainfo" | wc -l)" -eq 1 ] || fail "want one desktop entry and one metainfo file"
app_id=$(basename "$desktop" .desktop)
[ "$(basename "$metainfo" .metainfo.xml)" = "$app_id" ] || fail "metainfo $(basename "$metainfo") does not match $app_id"
grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo id is not $app_id"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" || fail "metainfo launchable is not $app_id.desktop"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -e "$root/bin/$exec_name" ] || fail "Exec=$exec_name is not installed in bin/"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for px in 48 128 256; do
  png="$root/share/icons/hicolor/${px}x${px}/apps/$icon.png"
  [ -f "$png" ] || fail "no ${px}x${px} icon $icon.png"
  [ "$(identify -format '%wx%h' "$png")" = "${px}x${px}" ] || fail "$png is not ${px}x${px}"
done
grep -q "<icon type=\"stock\">$icon</icon>" "$metainfo" || fail "metainfo icon is not $icon"
grep -q "CC-BY-3.0" "$metainfo" || fail "metainfo does not name the voices' licence"
grep -q "CC-BY-3.0" "$root/share/doc/teramon2/copyright" || fail "copyright file does not name the voices' licence"
zcat "$root/share/man/man6/teramon2.6.gz" | grep -q '^\.TH TERAMON2 6' || fail "no manual page teramon2(6)"
release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -1)
[ "$(zcat "$root/share/doc/teramon2/changelog.gz" | head -1)" = "teramon2 ($release) unstable; urgency=medium" ] \
  || fail "changelog.gz does not start with release $release of the metainfo"
step "cmake --install: program folder complete, bin/teramon2 -> $link, $app_id desktop entry, icon $icon at 48/128/256"

# ---------------------------------------------------------------- 2. validation
desktop-file-validate "$desktop" >"$work/dfv.log" 2>&1 || { cat "$work/dfv.log" >&2; fail "desktop-file-validate"; }
# Hints pass (two main categories, Game and Education, are meant); errors and warnings do not.
if grep -Eiq 'error|warning' "$work/dfv.log"; then cat "$work/dfv.log" >&2; fail "desktop-file-validate reported problems"; fi
sed 's/^/  /' "$work/dfv.log"
appstreamcli validate --no-net "$metainfo" >"$work/asv.log" 2>&1 || { cat "$work/asv.log" >&2; fail "appstreamcli validate"; }
step "desktop entry and metainfo validate"

# ------------------------------------------- 3. the installed game, from /
# Runs the program in an X server from /, with HOME=$2 and no XDG overrides;
# screenshot of the title screen after 4 s; then [Shift] and [Esc]; the
# program's status is written to $4.
cat >"$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -u
program=$1 home=$2 shot=$3 status=$4 log=$5
cd /
env -u XDG_DOCUMENTS_DIR -u XDG_CONFIG_HOME HOME="$home" SDL_AUDIODRIVER=dummy \
  TERAMON_SCREENSHOT="$shot" TERAMON_SCREENSHOT_AFTER_MS=4000 "$program" >"$log" 2>&1 &
pid=$!
sleep 1
xdotool mousemove 640 600          # the paddle follows the pointer to the middle
for _ in $(seq 1 40); do [ -s "$shot" ] && break; sleep 0.5; done
xdotool key shift                  # start a question, so [Esc] has a game to save
sleep 2
for _ in $(seq 1 10); do
  kill -0 "$pid" 2>/dev/null || break
  xdotool key Escape
  sleep 1
done
if kill -0 "$pid" 2>/dev/null; then kill "$pid"; echo "still running after [Esc]" >"$status"; exit 1; fi
wait "$pid"
echo $? >"$status"
SESSION
chmod +x "$work/session.sh"

# Fraction of warm pixels (red well above blue) in a rectangle given in the
# game's 800 x 600 design units. The title picture and the paddle's end caps
# are warm; the sky and the lake behind them are not.
warm_fraction() {  # shot x y w h
  local shot=$1 sw sh
  read -r sw sh < <(identify -format '%w %h' "$shot")
  local geo
  geo=$(awk -v sw="$sw" -v sh="$sh" -v x="$2" -v y="$3" -v w="$4" -v h="$5" \
    'BEGIN { kx = sw / 800; ky = sh / 600; printf "%dx%d+%d+%d", w * kx, h * ky, x * kx, y * ky }')
  convert "$shot" -crop "$geo" +repage -fx '(r - b > 0.25) ? 1 : 0' -format '%[fx:mean]' info:
}

run_from_root() {  # program label
  local program=$1 label=$2 home="$work/home-$2"
  mkdir -p "$home"
  xvfb-run -a -s "-screen 0 1280x720x24" "$work/session.sh" "$program" "$home" \
    "$work/$label.png" "$work/$label.status" "$work/$label.log" || true
  local status
  status=$(cat "$work/$label.status" 2>/dev/null || echo "no status")
  [ "$status" = 0 ] || { sed 's/^/  program: /' "$work/$label.log" >&2; fail "$label: the program ended with: $status"; }
  [ -s "$work/$label.png" ] || fail "$label: no screenshot"
  local title pad
  title=$(warm_fraction "$work/$label.png" 120 152 553 162)   # where the title picture stands
  pad=$(warm_fraction "$work/$label.png" 100 544 462 26)      # the paddle's row, left of the help panel
  awk -v t="$title" 'BEGIN { exit !(t > 0.05) }' || { cp "$work/$label.png" "/tmp/teramon_$label.png"; fail "$label: no title picture in the screenshot (warm fraction $title; kept as /tmp/teramon_$label.png)"; }
  awk -v p="$pad" 'BEGIN { exit !(p > 0.005) }' || { cp "$work/$label.png" "/tmp/teramon_$label.png"; fail "$label: no paddle in the screenshot (warm fraction $pad; kept as /tmp/teramon_$label.png)"; }
  local data="$home/Documents/みずうみ舎/TeramonData"
  [ -f "$data/Settei.ini" ] && [ -f "$data/newrecord.dat" ] || fail "$label: the game in progress was not saved in HOME's documents folder"
  step "$label: started from /, title picture (warm fraction $title) and paddle ($pad) drawn, [Shift] [Esc] -> status 0, game saved in HOME"
}
run_from_root "$root/bin/teramon2" installed

# ------------------------------------------------------------- 4. the .deb
cpack -G DEB -B "$work/deb" --config "$BUILD/CPackConfig.cmake" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log" >&2; fail "cpack -G DEB"; }
deb=$(ls "$work"/deb/teramon2_*.deb)
echo "--- dpkg-deb -I $(basename "$deb")"
dpkg-deb -I "$deb"
echo "--- dpkg-deb -c $(basename "$deb")"
dpkg-deb -c "$deb"
[ "$(dpkg-deb -f "$deb" Version)" = "$release" ] || fail ".deb version $(dpkg-deb -f "$deb" Version) is not the metainfo's release $release"
depends=$(dpkg-deb -f "$deb" Depends)
for need in libsdl2-2.0-0 libsdl2-image-2.0-0 libsdl2-ttf-2.0-0 libsdl2-mixer-2.0-0 libfontconfig1 \
            libmecab2 libhtsengine1 fonts-ipafont-gothic mecab-ipadic-utf8 open-jtalk open-jtalk-mecab-naist-jdic; do
  echo ", $depends," | grep -Eq "[, ]$need( \(|,)" || fail ".deb does not depend on $need"
done
echo "$depends" | grep -q -- '-dev\b' && fail ".deb depends on a development package: $depends"
mkdir "$work/deb-root"
dpkg-deb -x "$deb" "$work/deb-root"
check_program_folder "$work/deb-root/usr/lib/teramon2" ".deb"
# The same files as cmake --install (the programs are stripped in the package).
(cd "$root" && find . | sort) >"$work/installed.list"
(cd "$work/deb-root/usr" && find . | sort) >"$work/deb.list"
diff "$work/installed.list" "$work/deb.list" || fail ".deb holds other files than cmake --install"
diff -r --exclude=teramon2 --exclude=teramon2-say "$pdir" "$work/deb-root/usr/lib/teramon2" >/dev/null || fail ".deb program folder differs from cmake --install"
diff -r "$root/share" "$work/deb-root/usr/share" >/dev/null || fail ".deb share/ differs from cmake --install"
[ "$(readlink "$work/deb-root/usr/bin/teramon2")" = "../lib/teramon2/teramon2" ] || fail ".deb bin/teramon2 is not the relative symlink"
step ".deb $(basename "$deb"): $(stat -c %s "$deb") bytes, the same files as cmake --install"

# --------------------------------------------- --apt: this machine, for real
if [ "$APT" = 1 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  if dpkg-query -W -f='${Status}' teramon2 2>/dev/null | grep -q "install ok installed"; then
    fail "teramon2 is already installed on this machine; remove it first"
  fi
  cp "$deb" "$work/apt.deb" && chmod 644 "$work/apt.deb" && chmod 755 "$work"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y "$work/apt.deb" >"$work/apt.log" 2>&1 \
    || { cat "$work/apt.log" >&2; fail "apt-get install"; }
  grep -E '^(Setting up|Unpacking)' "$work/apt.log" | sed 's/^/  apt: /'
  remove() { DEBIAN_FRONTEND=noninteractive $SUDO apt-get remove -y teramon2 >"$work/apt-remove.log" 2>&1; }
  [ "$(command -v teramon2)" = /usr/bin/teramon2 ] || { remove; fail "teramon2 is not on PATH as /usr/bin/teramon2"; }
  ( run_from_root /usr/bin/teramon2 apt-installed ) || { remove; fail "the apt-installed game"; }
  data="$work/home-apt-installed/Documents/みずうみ舎/TeramonData"
  before=$(cd "$data" && ls)
  remove || { cat "$work/apt-remove.log" >&2; fail "apt-get remove"; }
  grep -E '^Removing' "$work/apt-remove.log" | sed 's/^/  apt: /'
  [ ! -e /usr/bin/teramon2 ] && [ ! -e /usr/lib/teramon2 ] || fail "files left in /usr after apt-get remove"
  [ "$(cd "$data" && ls)" = "$before" ] || fail "the player's data folder changed on removal"
  step "apt: installed, started from /, removed; the player's data folder kept ($(echo $before))"
fi
step "ok"
