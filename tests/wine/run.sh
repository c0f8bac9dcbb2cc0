#!/usr/bin/env bash
# Runs a Windows program in the tests' Wine prefix and waits for that Wine
# session to end, so that nothing of it outlives the display it ran on: the
# test programs' launcher (CMake's CROSSCOMPILING_EMULATOR).
#   MAILVIEW_EXE=EXE tests/with-display.sh tests/wine/run.sh ARCH PREFIX PROGRAM [ARG...]
# The program finds the mailview.exe named EXE in MAILVIEW_EXE, there
# as a Windows path.
set -u
. "$(dirname "$0")/env.sh" "$1" "$2"
export MAILVIEW_EXE="Z:${MAILVIEW_EXE//\//\\}"
shift 2
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "run.sh: no Wine prefix at $WINEPREFIX" >&2
  exit 1
fi
"$wine" "$@" </dev/null
status=$?
wineserver -k 2>/dev/null
exit $status
