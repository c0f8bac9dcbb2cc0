#!/usr/bin/env bash
# What a new user and a packager meet on a fresh Debian 12: each check runs
# in a Debian 12 root made with mmdebstrap, without a display, standard
# input or any of this machine's packages, as root, as CI runs it.
#   tests/fresh_root_test.sh demo  SOURCE_DIR BUILD_DIR
#     in a root holding only make, with one more apt source that cannot be
#     fetched: `make demo` installs its set, builds, shows the window on a
#     virtual display and saves a screenshot of it
#   tests/fresh_root_test.sh build SOURCE_DIR BUILD_DIR
#     in a root holding only the packages the README's "Building from
#     source" installs: its three CMake commands build with g++ and install
#     the program, which ends with status 0 on a pipe
#   tests/fresh_root_test.sh deb   SOURCE_DIR BUILD_DIR CPACK
#     the .deb made from BUILD_DIR, installed with apt-get into a root
#     holding only make, brings a font with the marks of control bytes
# Each root is made once and kept under BUILD_DIR/fresh-roots, named by its
# package list, with the packages downloaded beside it; each check runs in
# a throw-away copy of it, so a kept root stays as made. Exits 77 (skipped)
# where no root can be made here, saying why.
set -euo pipefail
mode=$1 src=$2 build=$3 cpack=${4:-}
roots=$build/fresh-roots cache=$build/fresh-roots/archives
fail() { echo "fresh_root_test $mode: $*" >&2; exit 1; }
skip() { echo "skipped: $*"; exit 77; }

[ "$(id -u)" = 0 ] || skip "making a Debian root needs root"
for tool in mmdebstrap unshare flock; do
  command -v $tool >/dev/null || skip "no $tool (scripts/deps.sh test)"
done
unshare --mount --pid --fork true 2>/dev/null ||
  skip "this host does not let a process have mount and PID namespaces of its own"
mkdir -p "$cache"
work=$(mktemp -d "$roots/run.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -m 755 "$work/out"

# keep_debs DIR: moves the packages in DIR into the cache (each appears
# there whole, by a rename) and removes DIR.
keep_debs() {
  find "$1" -maxdepth 1 -name '*.deb' -exec mv -f -t "$cache" {} + 2>/dev/null || true
  rm -rf "$1"
}

# archive_reachable: skips the test unless Debian's archive answers.
archive_reachable() {
  [ ! -f "$work/InRelease" ] || return 0
  /usr/lib/apt/apt-helper download-file \
    http://deb.debian.org/debian/dists/bookworm/InRelease "$work/InRelease" \
    >"$work/probe" 2>&1 ||
    skip "no package archive reachable: $(grep -m1 '^E: ' "$work/probe" | cut -c4-)"
}

# root NAME PACKAGE...: sets base to a Debian 12 root (minbase) that holds
# PACKAGE... besides, making it first if there is none yet.
root() {
  local name=$1 key dir made
  shift
  key=$(printf '%s\n' bookworm minbase "$@" | sha256sum | cut -c1-16)
  dir=$roots/$name-$key
  exec 8>"$dir.lock"
  flock 8  # one maker of each root; the others wait and take it
  if [ ! -d "$dir" ]; then
    archive_reachable
    made=$(mktemp -d "$dir.XXXXXX")
    # The packages go through the cache beside the roots: a later root, and
    # each copy below, fetches only what it lacks.
    unshare --mount --pid --fork mmdebstrap --variant=minbase \
      --include="$(IFS=,; echo "$*")" --skip=essential/unlink \
      --setup-hook='mkdir -p "$1/var/cache/apt/archives"' \
      --setup-hook="sync-in $cache /var/cache/apt/archives/" \
      --customize-hook="sync-out /var/cache/apt/archives $made.debs" \
      bookworm "$made" >"$work/mmdebstrap.log" 2>&1 || {
      tail -n 30 "$work/mmdebstrap.log" >&2
      rm -rf "$made" "$made.debs"
      fail "mmdebstrap could not make the root $name: $*"
    }
    keep_debs "$made.debs"
    mv "$made" "$dir"
  fi
  exec 8>&-
  base=$dir
}

# run_in ROOT SCRIPT WHAT: runs the shell script SCRIPT, which must succeed
# (it does WHAT), in a copy of ROOT: as root, with no display and no
# standard input, in mount and PID namespaces of its own (nothing it starts
# outlives it), with /proc, /dev, the host's DNS resolver, the package
# cache, this source tree at /src (without its build trees) and $work/out
# at /out. Its output goes to $work/out/log (/out/log inside); the packages
# it fetched go to the cache.
run_in() {
  mkdir -p "$work"/{upper,scratch,root,debs,debs-scratch}
  printf '%s\n' "$2" >"$work/out/script.sh"
  local status=0
  unshare --mount --pid --fork bash -euo pipefail -c '
    base=$1 work=$2 cache=$3 src=$4 r=$2/root
    # An overlay over the kept root, and one over the cache, are made at
    # once. Where the kernel refuses one (with the build tree on an overlay
    # itself, in a container, say), the root is copied, the cache shared.
    mount -t overlay overlay -o "lowerdir=$base,upperdir=$work/upper,workdir=$work/scratch" "$r" 2>/dev/null ||
      cp -a "$base/." "$r"
    mount -t overlay overlay -o "lowerdir=$cache,upperdir=$work/debs,workdir=$work/debs-scratch" \
      "$r/var/cache/apt/archives" 2>/dev/null || mount --bind "$cache" "$r/var/cache/apt/archives"
    mount -t proc proc "$r/proc"
    mount --rbind /dev "$r/dev"
    rm -f "$r/etc/resolv.conf"
    cp -L /etc/resolv.conf "$r/etc/resolv.conf"
    mkdir -p "$r/src" "$r/out"
    mount --bind "$work/out" "$r/out"
    tar -C "$src" --exclude=./build --exclude=./.git -cf - . | tar -C "$r/src" -xf -
    # Unpacked without a sync after each file: the copy is thrown away.
    echo force-unsafe-io >"$r/etc/dpkg/dpkg.cfg.d/unsafe-io"
    exec chroot "$r" /usr/bin/env -i HOME=/root \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      sh -eu /out/script.sh </dev/null
  ' run_in "$1" "$work" "$cache" "$src" >"$work/out/log" 2>&1 || status=$?
  keep_debs "$work/debs"
  [ "$status" = 0 ] || { tail -n 40 "$work/out/log" >&2; fail "$3: status $status"; }
}

# png_size FILE: the width and height of a PNG, from its header.
png_size() {
  [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] || fail "$1 is no PNG"
  echo $((0x$(od -An -tx1 -j16 -N4 "$1" | tr -d ' '))) $((0x$(od -An -tx1 -j20 -N4 "$1" | tr -d ' ')))
}

check_demo() {
  # The quick start, in /src; then the window once more on a virtual
  # display, measured by the X server, and the screenshot's colours.
  archive_reachable
  root minimal make
  run_in "$base" '
echo "deb http://deb.debian.org/debian bookworm-no-such-suite main" \
  >/etc/apt/sources.list.d/unfetchable.list
cd /src
make demo
cp "$(sed -n "s/^Screenshot: //p" /out/log)" /out/shot.png
convert /out/shot.png -format %k info: >/out/colours
cat >/out/measure.sh <<"EOF"
build/linux/mailview -t -i <examples/welcome.eml &
window=$(timeout 20 xdotool search --sync --onlyvisible --name "^Send Mail$" | head -n 1)
xwininfo -id "$window" >/out/xwininfo
xdotool windowfocus --sync "$window" key Return
wait
EOF
tests/with-display.sh sh -eu /out/measure.sh' "make demo"
  grep -q '^apt-get update: .*no-such-suite' "$work/out/log" ||
    fail "make demo did not say which apt source failed"
  [ -f "$work/out/shot.png" ] || fail "no screenshot"
  local size want colours
  size=$(png_size "$work/out/shot.png")
  want=$(awk '$1 == "Width:" { w = $2 } $1 == "Height:" { h = $2 } END { print w, h }' \
    "$work/out/xwininfo")
  [ "$size" = "$want" ] || fail "the screenshot is ${size/ /x}, the window ${want/ /x}"
  colours=$(cat "$work/out/colours")
  [ "$colours" -ge 16 ] || fail "the screenshot holds $colours colours: blank?"
  echo "screenshot of the window, ${size/ /x}, $colours colours"
}

check_build() {
  # The README's own words: the packages of its install line, and the
  # three CMake commands of its first block, run as they are written.
  local block packages commands
  block=$(sed -n '/^## Building from source/,/^## /p' "$src/README.md" |
    awk '/^```sh/ { n++; next } /^```/ { if (n == 1) exit } n == 1')
  packages=$(sed -n 's/^sudo apt-get install \([^#]*\).*/\1/p' <<<"$block")
  commands=$(grep -E '^(cmake|DESTDIR=)' <<<"$block" | sed 's/ *#.*//')
  [ -n "$packages" ] && [ "$(wc -l <<<"$commands")" = 3 ] ||
    fail "no install line and three CMake commands in the README's \"Building from source\": $block"
  # shellcheck disable=SC2086  # one word a package
  root build $packages
  run_in "$base" "
cd /src
$commands
if command -v clang clang++; then echo 'a compiler other than the one built with'; exit 1; fi
grep -q 'CMAKE_CXX_COMPILER_ID \"GNU\"' build/CMakeFiles/*/CMakeCXXCompiler.cmake
cp build/mailview.res /out/
cmake --install build
printf 'To: you@example.org\r\nSubject: hi\r\n\r\nHello!\r\n' | mailview -t -i" \
    "the README's build with g++ and the installed program on a pipe"
  ! grep -E 'llvm-rc:|[Ww]arning' "$work/out/log" || fail "the build warns, above"
  cmp "$work/out/mailview.res" "$build/mailview.res" ||
    fail "the resources built in the root differ from this tree's"
}

check_deb() {
  command -v dpkg-shlibdeps >/dev/null ||
    skip "no dpkg-shlibdeps, so no .deb is made here (scripts/deps.sh test)"
  CPACK=$cpack "$src/scripts/package.sh" "$build" "$work/out/package" DEB \
    >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack -G DEB"; }
  archive_reachable
  root minimal make
  run_in "$base" '
apt-get update -qq
apt-get install -y -qq /out/package/mailview_*.deb >/dev/null
fc-list ":charset=2400-2421" family >/out/fonts' "apt-get install of the .deb"
  [ -s "$work/out/fonts" ] ||
    fail "no font installed with the .deb draws U+2400 to U+2421, the marks of control bytes"
}

case $mode in
demo) check_demo ;;
build) check_build ;;
deb) check_deb ;;
*) fail "unknown check" ;;
esac
echo "fresh_root_test $mode: ok"
