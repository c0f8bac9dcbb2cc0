#!/usr/bin/env bash
# The version is stated once, in CMakeLists.txt. What CMake writes from it
# (the .rc's version header, the manual page) must show it; the files that
# still state it by hand (the changelog's latest entry, any text naming a
# package or a release) must agree with it.
#   tests/version_test.sh SOURCE_DIR BUILD_DIR VERSION
set -euo pipefail
src=$1 build=$2 version=$3
fail() { echo "version_test: $*" >&2; exit 1; }
numbers=${version//./, }

[[ $(head -1 "$src/packaging/changelog") == "mailview ($version) "* ]] ||
  fail "packaging/changelog's latest entry is not $version"

# Written by CMake.
grep -qxF "#define MAILVIEW_VERSION_NUMBERS $numbers" "$build/generated/version.h" ||
  fail "generated/version.h does not hold $numbers"
grep -qxF "#define MAILVIEW_VERSION_TEXT \"$numbers\"" "$build/generated/version.h" ||
  fail "generated/version.h does not hold \"$numbers\""
grep '^\.TH' "$build/generated/mailview.1" | grep -qF "\"mailview $version\"" ||
  fail "the manual page is not of version $version"

# The resources take the numbers from the generated header only.
by_hand=$(grep -rnE '(VERSION|Version)[^0-9]*[0-9]+, *[0-9]+, *[0-9]+, *[0-9]+' \
  "$src/resources" || true)
[ -z "$by_hand" ] || fail "a version in the resources, by hand: $by_hand"

# A release named by hand anywhere else ("mailview" and a version after a
# space, "_", "(" or "-", as in a package's file name) is this one.
# The changelog's older entries are history.
stated=$(grep -rnoIE --exclude-dir=.git --exclude-dir=build --exclude=changelog \
  'mailview[ _(-][0-9]+\.[0-9]+\.[0-9]+(\.[0-9]+)?' "$src" || true)
wrong=$(grep -vE "[ _(-]${version//./\\.}\$" <<<"$stated" | sed "s|^$src/||" || true)
[ -z "$wrong" ] || fail "a release named by hand that is not $version:"$'\n'"$wrong"
echo "version_test: ok ($version)"
