#!/usr/bin/env bash
# scripts/deps.sh against a package archive that is out of step, with
# stand-ins for apt-get, dpkg and dpkg-query that play each case: an index
# of one foreign architecture that stays broken, a source that does not
# exist, a foreign set or the native set that cannot be installed. A foreign
# architecture's trouble costs only its own set, said in one line and in
# build/unavailable/ARCH; the native set's is fatal, with apt's message.
#   tests/deps_archive_test.sh SOURCE_DIR
set -u
src=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

mkdir -p "$tmp/bin" "$tmp/tree/scripts"
cp "$src/scripts/deps.sh" "$tmp/tree/scripts/"
# Every call is logged, one line each: the program and its arguments.
cat >"$tmp/bin/apt-get" <<'EOF'
#!/bin/bash
echo "apt-get $*" >>"$LOG"
case " $* " in
*" update "*)
  [[ $* == *APT::Architectures* ]] && exit 0
  if [ -n "$FLAKY" ] && [ ! -f "$STATE/updated" ]; then
    touch "$STATE/updated"
    echo "E: Could not connect to deb.debian.org" >&2
    exit 100
  fi
  [ -n "$BROKEN" ] || exit 0
  echo "E: $BROKEN" >&2
  echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
  exit 100 ;;
*" install "*)
  for p; do
    # shellcheck disable=SC2053  # a pattern
    [ -z "$UNINSTALLABLE" ] || [[ $p != $UNINSTALLABLE ]] || {
      echo "E: Unable to correct problems, you have held broken packages." >&2
      exit 100
    }
  done ;;
esac
EOF
cat >"$tmp/bin/dpkg" <<'EOF'
#!/bin/bash
echo "dpkg $*" >>"$LOG"
case $1 in
--print-architecture) echo amd64 ;;
--print-foreign-architectures) cat "$STATE/foreign" 2>/dev/null ;;
--add-architecture) echo "$2" >>"$STATE/foreign" ;;
esac
EOF
printf '#!/bin/sh\nexit 1\n' >"$tmp/bin/dpkg-query"  # nothing is installed
printf '#!/bin/sh\necho 0\n' >"$tmp/bin/id"
printf '#!/bin/sh\necho "sleep $*" >>"$LOG"\n' >"$tmp/bin/sleep"
chmod +x "$tmp/bin"/*

# check NAME STATUS WANT... -- VARIABLE=VALUE...: deps.sh test, run with
# the stand-ins playing VARIABLE=VALUE (BROKEN: the error of an update that
# fails every time, FLAKY: the first update fails, UNINSTALLABLE: a pattern
# of the packages apt cannot install), ends with STATUS and does each WANT:
# prints a line ("out:REGEX", "!out:REGEX" for none), makes a call
# ("log:REGEX", "!log:REGEX"), says why in build/unavailable/ARCH
# ("i386:REGEX"; "arm64:" for no such file).
check() {
  local name=$1 want_status=$2 status=0 want wrong=
  shift 2
  local wants=()
  while [ "$1" != -- ]; do wants+=("$1"); shift; done
  shift
  rm -rf "$tmp/state" "$tmp/tree/build" "$tmp/log"
  mkdir "$tmp/state"
  env PATH="$tmp/bin:$PATH" LOG="$tmp/log" STATE="$tmp/state" ARM64=linux-arm64 \
    BROKEN= FLAKY= UNINSTALLABLE= "$@" \
    "$tmp/tree/scripts/deps.sh" test >"$tmp/out" 2>&1 || status=$?
  [ "$status" = "$want_status" ] || wrong="status $status, want $want_status"
  for want in "${wants[@]}"; do
    case $want in
    out:*) grep -qE -- "${want#out:}" "$tmp/out" ;;
    '!out:'*) ! grep -qE -- "${want#!out:}" "$tmp/out" ;;
    log:*) grep -qE -- "${want#log:}" "$tmp/log" ;;
    '!log:'*) ! grep -qE -- "${want#!log:}" "$tmp/log" ;;
    *:) [ ! -e "$tmp/tree/build/unavailable/${want%:}" ] ;;
    *) grep -qE -- "${want#*:}" "$tmp/tree/build/unavailable/${want%%:*}" 2>/dev/null ;;
    esac || wrong+="${wrong:+; }want $want"
  done
  [ -z "$wrong" ] && return
  echo "$name: $wrong"
  echo "  its output:"; sed 's/^/    /' "$tmp/out"
  echo "  the calls:"; sed 's/^/    /' "$tmp/log"
  exit 1
}

i386_index=http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz
check "one foreign index broken" 0 \
  "out:^apt-get update: Failed to fetch $i386_index .*\(3 tries\); going on without the lists of i386$" \
  "log:^sleep 3$" "log:^sleep 6$" \
  "log:^apt-get update -qq -oAPT::Architectures::=amd64 -oAPT::Architectures::=arm64$" \
  "out:^Not installing the i386 packages, so the runs that need them are skipped: its package index could not be fetched: Failed to fetch $i386_index" \
  "i386:^its package index could not be fetched: Failed to fetch $i386_index" "arm64:" \
  -- BROKEN="Failed to fetch $i386_index  File has unexpected size (374820 != 376004). Mirror sync in progress?"
[ "$(grep -c '^apt-get update -qq$' "$tmp/log")" = 3 ] || { echo "want 3 tries"; exit 1; }
[ "$(grep -c . "$tmp/out")" = 3 ] ||
  { echo "want 3 lines: installing, the update, i386:"; cat "$tmp/out"; exit 1; }
# The native set first, then arm64's alone; none of i386's.
grep '^apt-get install' "$tmp/log" | sed 's/.*--no-install-recommends //' >"$tmp/installs"
{ read -r native && read -r arm64 && ! read -r _; } <"$tmp/installs" &&
  [[ " $native " == *" cmake "* && $native != *:* ]] &&
  [ "$arm64" = "libgtk-3-dev:arm64 libgtest-dev:arm64 pkgconf:arm64" ] ||
  { echo "want the native set, then arm64's:"; cat "$tmp/installs"; exit 1; }

check "a source that does not exist" 0 \
  "out:^apt-get update: The repository .* does not have a Release file\. \(3 tries\); going on with the lists there are$" \
  "!log:APT::Architectures" "log:^apt-get install .*wine32:i386" "i386:" "arm64:" \
  -- BROKEN="The repository 'http://deb.debian.org/debian bookworm-no-such-suite Release' does not have a Release file."

check "an update that works at the second try" 0 \
  "!out:^apt-get update" "log:^sleep 3$" "!log:^sleep 6" "i386:" "arm64:" \
  -- FLAKY=yes

check "a foreign set that cannot be installed" 0 \
  "i386:^apt-get could not install wine32:i386: Unable to correct problems, you have held broken packages\.$" \
  "out:^Not installing the i386 packages" "log:^apt-get install .*libgtk-3-dev:arm64" "arm64:" \
  -- UNINSTALLABLE='*:i386'

check "the native set cannot be installed" 1 \
  "out:^E: Unable to correct problems" "out:^apt-get could not install: .*cmake" \
  "!log:libgtk-3-dev:arm64" "i386:" "arm64:" \
  -- UNINSTALLABLE=cmake

echo "deps_archive_test: ok"
