#!/usr/bin/env bash
# Installs the Debian packages that building and testing mailview needs, if
# any are missing. As root it installs them with apt-get; otherwise it says
# what to install and fails.
set -euo pipefail

packages=(
  # building for Linux
  cmake make g++ pkg-config libgtk-3-dev libx11-dev llvm fonts-dejavu-core
  # glyphs for the marks that show control bytes (␍ ␊ ␀ ...)
  fonts-freefont-ttf
  # building for 32-bit Windows
  g++-mingw-w64-i686
  # tests
  libgtest-dev googletest xvfb xauth xdotool xclip x11-utils imagemagick
  wine wine32:i386 fonts-wine python3 man-db
  # fuzzing
  clang libclang-rt-14-dev
  # real callers and comparisons
  php-cli zenity
  # benchmarks
  libxtst-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' ||
    missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "mailview needs these Debian packages: ${missing[*]}" >&2
  echo "Install them as root (32-bit Wine needs 'dpkg --add-architecture i386' first):" >&2
  echo "  apt-get install ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
