#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Pondorix need.
# Usage: scripts/install-deps.sh [--game]
#   (none)  everything: the game, its tests, benchmarks and fuzzers
#   --game  only what building and running the game needs
# Idempotent: when everything is already installed it prints nothing and exits 0. Run as root,
# or as a user who may use sudo.
set -euo pipefail

game_packages=(
  # toolchain
  build-essential cmake ccache pkg-config
  # libraries (libclaw's tween library serves gameplay and screens; its headers use Boost's)
  libsfml-dev libbox2d-dev libphysfs-dev liblog4cpp5-dev libtinyxml-dev
  libclaw-dev libclaw-tween-dev libboost-dev zlib1g-dev libjpeg62-turbo-dev
  libgl1-mesa-dev libgl1-mesa-dri libglu1-mesa-dev libx11-dev libopenal1 libopenal-dev
  # the player's glyph provider renders installed fonts, which fontconfig finds
  libfreetype-dev libfontconfig-dev
  # content
  fonts-comfortaa
)
test_packages=(
  # the fuzzers are built with clang and libFuzzer; CI checks the format and the layers
  clang libclang-rt-14-dev clang-format python3
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # the interpreter benchmark runs the same programs in Lua beside the player
  lua5.4 liblua5.4-dev
  xvfb xauth xdotool imagemagick
  # the installed font the glyph provider's tests draw with
  fonts-dejavu-core
  # the comma-decimal locale that the storage tests write and read numbers under
  locales
)

packages=("${game_packages[@]}")
with_tests=1
if [ "${1:-}" = "--game" ]; then
  with_tests=0
else
  packages+=("${test_packages[@]}")
fi

# Runs a command as root: directly when we are root, else through sudo. Without sudo there is
# no way to install anything, so this says what to do and stops.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "install-deps: installing needs root, and sudo is not installed." >&2
    echo "Run this script as root, or install sudo, or install these packages yourself:" >&2
    echo "  $*" >&2
    exit 1
  fi
}

# Generates de_DE.UTF-8 once; quiet when it is already there.
ensure_test_locale() {
  locale -a 2>/dev/null | grep -ix 'de_DE.utf8' >/dev/null && return 0
  as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -qq
  as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if [ "$with_tests" -eq 1 ]; then
  ensure_test_locale
fi
