#!/usr/bin/env bash
# The packages of one commit are the same bytes however and wherever they
# are made: two fresh clones of SOURCE_DIR's last commit, in two folders,
# built one after the other under umasks 022 and 077, give the same .deb,
# zip and SHA256SUMS, and the same two Windows executables. Each clone
# builds only what the packages hold.
#   tests/reproducible_test.sh SOURCE_DIR
set -euo pipefail
src=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "reproducible_test: $*" >&2; exit 1; }

command -v git >/dev/null || { echo "skipped: no git"; exit 77; }
git -C "$src" rev-parse --verify -q HEAD >/dev/null ||
  { echo "skipped: $src is not a git checkout"; exit 77; }
for tool in i686-w64-mingw32-g++ x86_64-w64-mingw32-g++ strip-nondeterminism; do
  command -v "$tool" >/dev/null || { echo "skipped: no $tool (scripts/deps.sh test)"; exit 77; }
done

build() {  # NAME UMASK: clones, builds and packages in $tmp/NAME
  local dir=$tmp/$1
  (
    umask "$2"
    git clone -q "$src" "$dir"
    cd "$dir"
    # cpack builds only what it installs, not the tests.
    cmake --preset linux -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
    cmake --build --preset linux -j2 --target mailview package_files
    for preset in win32 win64; do
      cmake --preset $preset
      cmake --build --preset $preset -j2 --target mailview
    done
    scripts/package.sh build/linux build/package
  ) >"$tmp/$1.log" 2>&1 || { tail -n 40 "$tmp/$1.log" >&2; fail "clone $1 did not build"; }
}
build a 022
sleep 2  # a zip counts its times in steps of 2 seconds
build b 077

made=$(cd "$tmp/a/build/package" && ls)
[ "$made" = "$(cd "$tmp/b/build/package" && ls)" ] || fail "different files made"
status=0
for file in ${made//$'\n'/ } ../win32/mailview.exe ../win64/mailview.exe; do
  cmp "$tmp/a/build/package/$file" "$tmp/b/build/package/$file" || status=1
done
[ "$status" = 0 ] || fail "two builds of one commit differ"
echo "reproducible_test: ok: ${made//$'\n'/, }"
