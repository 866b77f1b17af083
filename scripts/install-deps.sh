#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Pondorix needs.
# Idempotent: when everything is already installed it prints nothing and exits 0.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ccache pkg-config clang libclang-rt-14-dev clang-format python3
  # libraries
  libsfml-dev libbox2d-dev libphysfs-dev liblog4cpp5-dev libtinyxml-dev
  libclaw-dev libclaw-tween-dev zlib1g-dev libjpeg62-turbo-dev libfreetype-dev
  libgl1-mesa-dev libgl1-mesa-dri libglu1-mesa-dev libx11-dev libopenal1 libfontconfig-dev
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick
  # content
  fonts-comfortaa
  # the comma-decimal locale that the storage tests write and read numbers under
  locales
)

# Generates de_DE.UTF-8 once; quiet when it is already there.
ensure_test_locale() {
  locale -a 2>/dev/null | grep -ix 'de_DE.utf8' >/dev/null && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  ensure_test_locale
  exit 0
fi

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
ensure_test_locale
