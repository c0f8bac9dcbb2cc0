#!/usr/bin/env bash
# Installs the Debian packages that mailview needs, if any are missing.
#   scripts/deps.sh linux  building the Linux tree (make linux)
#   scripts/deps.sh demo   building the Linux program and showing the sample
#   scripts/deps.sh test   everything make test needs (the demo's too)
#   scripts/deps.sh SET --list   print the set's packages, install nothing
# As root it installs them with apt-get; otherwise it says what to install
# and fails. Only the test set adds foreign architectures: i386 for 32-bit
# Wine, arm64 for the arm64 tree (not on an arm64 host, nor when ARM64 is
# set and empty, as by `make test ARM64=`).
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
# clang and its sanitizers' runtimes: the sanitizer tree and the fuzz targets
clang=(clang libclang-rt-14-dev)
# the program and its display-free tests cross-built for arm64, run under
# qemu; pkgconf:arm64 gives aarch64-linux-gnu-pkg-config
cross_arm64=(g++-aarch64-linux-gnu libgtk-3-dev:arm64 libgtest-dev:arm64
             pkgconf:arm64 qemu-user-static)
if [ "$(dpkg --print-architecture)" = arm64 ] || [ "${ARM64-x}" = "" ]; then
  cross_arm64=()
fi
callers_and_comparisons=(php-cli php-symfony-mailer libphp-phpmailer zenity)
# a window manager and a Wayland compositor for the window's tests
desktops=(openbox weston)
# file: CPack asks it which staged files are programs, for dpkg-shlibdeps;
# strip-nondeterminism puts the zip's files in a fixed order; groff renders
# the manual page as text for the zip
packaging=(dpkg-dev lintian file strip-nondeterminism groff-base)

case $set_name in
linux) packages=("${build_linux[@]}") ;;
demo) packages=("${build_linux[@]}" "${show_without_display[@]}") ;;
test)
  packages=("${build_linux[@]}" "${show_without_display[@]}"
            "${build_windows[@]}" "${run_windows[@]}" "${test_linux[@]}"
            "${accessibility[@]}"
            "${clang[@]}" "${cross_arm64[@]}" "${callers_and_comparisons[@]}"
            "${desktops[@]}"
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

# The architectures of the packages named PACKAGE:ARCH.
foreign=()
for p in "${missing[@]}"; do
  [[ $p == *:* && " ${foreign[*]} " != *" ${p#*:} "* ]] && foreign+=("${p#*:}")
done

if [ "$(id -u)" -ne 0 ]; then
  echo "mailview needs these Debian packages: ${missing[*]}" >&2
  echo "Install them as root:" >&2
  [ ${#foreign[@]} -eq 0 ] || printf '  dpkg --add-architecture %s\n' "${foreign[@]}" >&2
  echo "  apt-get update && apt-get install ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
for arch in "${foreign[@]}"; do
  dpkg --print-foreign-architectures | grep -qx "$arch" ||
    dpkg --add-architecture "$arch" || {
      echo "dpkg cannot add the $arch architecture that these need: ${missing[*]}" >&2
      exit 1
    }
done
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || {
  echo "apt-get could not install: ${missing[*]}" >&2
  if [ ${#foreign[@]} -gt 0 ]; then
    echo "Packages of the architectures ${foreign[*]} must come from this machine's" \
         "package sources; Debian's mirrors carry them, not every other" \
         "distribution's. 'make test ARM64=' leaves out the arm64 tree." >&2
  fi
  exit 1
}
