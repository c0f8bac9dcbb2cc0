#!/usr/bin/env bash
# Installs the Debian packages that mailview needs, if any are missing.
#   scripts/deps.sh linux  building the Linux tree (make linux)
#   scripts/deps.sh demo   building the Linux program and showing the sample
#   scripts/deps.sh test   everything make test needs (the demo's too)
#   scripts/deps.sh SET --list   print the set's packages, install nothing
# As root it installs them with apt-get; otherwise it says what to install
# and fails. Only the test set adds the i386 architecture (for 32-bit Wine).
set -euo pipefail
set_name=${1:-test}

# The one list, by purpose.
build_linux=(
  cmake make g++ pkg-config libgtk-3-dev libx11-dev llvm
  # the build tree's own tests and benchmarks are configured with it
  libgtest-dev libxtst-dev
  # the fixed-pitch face, and glyphs for the marks that show control bytes
  fonts-dejavu-core fonts-freefont-ttf
)
show_without_display=(xvfb xauth x11-utils xdotool imagemagick)
build_windows=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest)
run_windows=(wine wine64 wine32:i386 fonts-wine)
test_linux=(xclip python3 man-db strace)
# the windows read as a screen reader reads them: AT-SPI in a D-Bus session
accessibility=(python3-pyatspi at-spi2-core dbus-daemon)
fuzz=(clang libclang-rt-14-dev)
callers_and_comparisons=(php-cli php-symfony-mailer libphp-phpmailer zenity)
# a window manager and a Wayland compositor for the window's tests
desktops=(openbox weston)
# file: CPack asks it which staged files are programs, for dpkg-shlibdeps;
# strip-nondeterminism puts the zip's files in a fixed order
packaging=(dpkg-dev lintian file strip-nondeterminism)

case $set_name in
linux) packages=("${build_linux[@]}") ;;
demo) packages=("${build_linux[@]}" "${show_without_display[@]}") ;;
test)
  packages=("${build_linux[@]}" "${show_without_display[@]}"
            "${build_windows[@]}" "${run_windows[@]}" "${test_linux[@]}"
            "${accessibility[@]}"
            "${fuzz[@]}" "${callers_and_comparisons[@]}" "${desktops[@]}"
            "${packaging[@]}")
  ;;
*) echo "usage: $0 linux|demo|test" >&2; exit 2 ;;
esac

if [ "${2:-}" = --list ]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' ||
    missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

foreign=
for p in "${missing[@]}"; do
  [[ $p == *:i386 ]] && foreign=i386
done

if [ "$(id -u)" -ne 0 ]; then
  echo "mailview needs these Debian packages: ${missing[*]}" >&2
  echo "Install them as root${foreign:+ (after 'dpkg --add-architecture i386')}:" >&2
  echo "  apt-get install ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
if [ -n "$foreign" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
