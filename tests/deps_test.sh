#!/usr/bin/env bash
# make demo and make linux must not add a foreign architecture, a cross
# toolchain or the test tools to a machine whose owner only wants to see the
# window or build the program; make linux needs no virtual display either.
#   tests/deps_test.sh SOURCE_DIR
set -u
cd "$1"
fail=0
linux=$(scripts/deps.sh linux --list) demo=$(scripts/deps.sh demo --list)
test=$(scripts/deps.sh test --list)

# light SET PATTERN: make SET installs its own set, none of the packages
# PATTERN matches, and builds no Windows or arm64 tree.
light() {
  local list=${!1} steps
  [ -n "$list" ] || { echo "make $1 needs no packages?" >&2; fail=1; }
  if grep -E "$2" <<<"$list"; then
    echo "make $1 would install the test packages above" >&2; fail=1
  fi
  steps=$(make -n "$1")
  if grep -E 'deps.sh test|--preset (win32|win64|linux-arm64)' <<<"$steps"; then
    echo "make $1 would take the steps above" >&2; fail=1
  fi
  grep -q "deps.sh $1" <<<"$steps" || { echo "make $1 installs nothing" >&2; fail=1; }
}
test_only=':(i386|arm64)$|aarch64|qemu|wine|mingw|php|zenity|clang|lintian|weston|openbox|pyatspi|mmdebstrap'
light linux "$test_only|xvfb|xdotool|imagemagick"
light demo "$test_only"

# lacking SET LIST WANTED: SET's LIST holds every package of WANTED.
lacking() {
  local missing
  missing=$(comm -23 <(sort <<<"$3") <(sort <<<"$2"))
  [ -z "$missing" ] || { echo "$1 lacks:" $missing >&2; fail=1; }
}
lacking "make demo" "$demo" "$linux"
lacking "make test" "$test" "$demo"
exit $fail
