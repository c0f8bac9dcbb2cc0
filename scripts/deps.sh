#!/usr/bin/env bash
# Installs the Debian packages that mailview needs, if any are missing.
#   scripts/deps.sh linux  building the Linux tree (make linux)
#   scripts/deps.sh demo   building the Linux program and showing the sample
#   scripts/deps.sh test   everything make test needs (the demo's too)
#   scripts/deps.sh SET --list   print the set's packages, install nothing
# As root it installs them with apt-get; otherwise it says what to install
# and fails. Only the test set adds foreign architectures: i386 for 32-bit
# Wine, arm64 for the arm64 tree (not on an arm64 host, nor when ARM64 is
# set and empty, as by `make test ARM64=`). The native packages come first,
# and their failure is fatal; each foreign architecture's set then on its
# own: where one cannot be installed, it says why in one line and in
# build/unavailable/ARCH, and the runs that need it are skipped (the win32
# tree's of the 32-bit executable, the Makefile's arm64 tree).
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
# the manual page as text for the zip; git clones the tree twice for the
# test that the packages are reproducible
packaging=(dpkg-dev lintian file strip-nondeterminism groff-base git)
# the tests in Debian roots made afresh (tests/fresh_root_test.sh)
fresh_roots=(mmdebstrap mount)

case $set_name in
linux) packages=("${build_linux[@]}") ;;
demo) packages=("${build_linux[@]}" "${show_without_display[@]}") ;;
test)
  packages=("${build_linux[@]}" "${show_without_display[@]}"
            "${build_windows[@]}" "${run_windows[@]}" "${test_linux[@]}"
            "${accessibility[@]}"
            "${clang[@]}" "${cross_arm64[@]}" "${callers_and_comparisons[@]}"
            "${desktops[@]}"
            "${packaging[@]}" "${fresh_roots[@]}")
  ;;
*) echo "usage: $0 linux|demo|test" >&2; exit 2 ;;
esac

if [ "${2:-}" = --list ]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi

# The architectures of the packages named PACKAGE:ARCH, whose sets are
# judged afresh on each run.
unavailable=$(cd "$(dirname "$0")/.." && pwd)/build/unavailable
foreign=()
for p in "${packages[@]}"; do
  [[ $p == *:* && " ${foreign[*]} " != *" ${p#*:} "* ]] && foreign+=("${p#*:}")
done
for arch in "${foreign[@]}"; do
  rm -f "$unavailable/$arch"
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' ||
    missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "mailview needs these Debian packages: ${missing[*]}" >&2
  echo "Install them as root:" >&2
  [ ${#foreign[@]} -eq 0 ] || printf '  dpkg --add-architecture %s\n' "${foreign[@]}" >&2
  echo "  apt-get update && apt-get install ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# cannot ARCH REASON: the set of ARCH is not installed, for REASON.
cannot() {
  echo "Not installing the $1 packages, so the runs that need them are skipped: $2"
  mkdir -p "$unavailable"
  echo "$2" >"$unavailable/$1"
}
for arch in "${foreign[@]}"; do
  dpkg --print-foreign-architectures | grep -qx "$arch" ||
    dpkg --add-architecture "$arch" 2>"$tmp/add" ||
    cannot "$arch" "dpkg cannot add the $arch architecture: $(head -n 1 "$tmp/add")"
done

# A mirror may be out of step for a while, for one architecture's index or
# one source; apt then drops every new list of that archive. After a few
# tries, the update is made once more without the foreign architectures
# whose index failed, and goes on with the lists it has.
for try in 1 2 3; do
  apt-get update -qq 2>"$tmp/update" && break
  [ "$try" = 3 ] || sleep $((try * 3))
done
if grep -q '^E: ' "$tmp/update"; then
  failed=$(grep -m1 '^E: ' "$tmp/update" | cut -c4-)
  left_out=() kept=("$(dpkg --print-architecture)")
  for arch in $(dpkg --print-foreign-architectures); do
    if grep -q "^E: .*/binary-$arch/" "$tmp/update"; then
      left_out+=("$arch")
    else
      kept+=("$arch")
    fi
  done
  if [ ${#left_out[@]} -eq 0 ]; then
    echo "apt-get update: $failed (3 tries); going on with the lists there are"
  else
    echo "apt-get update: $failed (3 tries); going on without the lists of ${left_out[*]}"
    apt-get update -qq "${kept[@]/#/-oAPT::Architectures::=}" 2>/dev/null || true
    for arch in "${left_out[@]}"; do
      [[ " ${foreign[*]} " != *" $arch "* ]] || [ -e "$unavailable/$arch" ] ||
        cannot "$arch" "its package index could not be fetched: $(grep -m1 "^E: .*/binary-$arch/" "$tmp/update" | cut -c4-)"
    done
  fi
fi

native=()
for p in "${missing[@]}"; do
  [[ $p == *:* ]] || native+=("$p")
done
if [ ${#native[@]} -gt 0 ]; then
  apt-get install -y -qq --no-install-recommends "${native[@]}" >/dev/null || {
    echo "apt-get could not install: ${native[*]}" >&2
    exit 1
  }
fi
for arch in "${foreign[@]}"; do
  [ ! -e "$unavailable/$arch" ] || continue
  set_of_arch=()
  for p in "${missing[@]}"; do
    [[ $p != *:"$arch" ]] || set_of_arch+=("$p")
  done
  [ ${#set_of_arch[@]} -gt 0 ] || continue
  apt-get install -y -qq --no-install-recommends "${set_of_arch[@]}" \
    >/dev/null 2>"$tmp/install" ||
    cannot "$arch" "apt-get could not install ${set_of_arch[*]}: $(grep '^E: ' "$tmp/install" | tail -n 1 | cut -c4-)"
done
