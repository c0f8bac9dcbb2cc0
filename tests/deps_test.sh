#!/usr/bin/env bash
# make demo must not add a foreign architecture or the test tools to a
# machine whose owner only wants to see the window.
#   tests/deps_test.sh SOURCE_DIR
set -u
cd "$1"
fail=0
demo=$(scripts/deps.sh demo --list) test=$(scripts/deps.sh test --list)
[ -n "$demo" ] || { echo "the demo needs no packages?" >&2; fail=1; }
if grep -E ':i386$|wine|mingw|php|zenity|clang|lintian|weston|openbox' <<<"$demo"; then
  echo "make demo would install the test packages above" >&2; fail=1
fi
missing=$(comm -23 <(sort <<<"$demo") <(sort <<<"$test"))
[ -z "$missing" ] || { echo "make test lacks: $missing" >&2; fail=1; }
steps=$(make -n demo)
if grep -E 'deps.sh test|--preset win(32|64)' <<<"$steps"; then
  echo "make demo would take the steps above" >&2; fail=1
fi
grep -q 'deps.sh demo' <<<"$steps" || { echo "make demo installs nothing" >&2; fail=1; }
exit $fail
