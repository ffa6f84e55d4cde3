#!/usr/bin/env bash
# Started where no display can be opened (no X server, no Wayland), the program
# says so in one line on stderr and exits with status 1. (Under the leak checker
# its list of suppressions is turned off: it is not the program's output.)
#   tests/program/no_display_test.sh path/to/teramon2
set -u
program=$1
home=$(mktemp -d /tmp/teramon_nodisplay_XXXXXX)
trap 'rm -rf "$home"' EXIT

check() {  # description, then the environment to start the program in
  local what=$1 err status lines
  shift
  err=$(cd / && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER HOME="$home" XDG_DOCUMENTS_DIR="$home/docs" \
    SDL_AUDIODRIVER=dummy LSAN_OPTIONS="${LSAN_OPTIONS:-}:print_suppressions=0" "$@" \
    timeout 30 "$program" 2>&1 >/dev/null)
  status=$?
  lines=$(printf '%s' "$err" | grep -c '')
  if [ "$status" -ne 1 ] || [ "$lines" -ne 1 ] || ! grep -q 'no display could be opened' <<<"$err"; then
    echo "FAILED ($what): exit status $status, $lines line(s) on stderr:"
    printf '%s\n' "$err"
    exit 1
  fi
  echo "ok ($what): $err"
}

check "no DISPLAY or WAYLAND_DISPLAY"
check "an X server that is not there" DISPLAY=:87
[ ! -e "$home/docs" ] || { echo "FAILED: the data folder was created without a window"; exit 1; }
