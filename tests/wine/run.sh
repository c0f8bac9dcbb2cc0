#!/usr/bin/env bash
# Runs a Windows program in the tests' Wine prefix and waits for that Wine
# session to end, so that nothing of it outlives the display it ran on.
#   tests/with-display.sh tests/wine/run.sh ARCH PREFIX MAILVIEW_EXE PROGRAM [ARG...]
# The program finds mailview.exe in the MAILVIEW_EXE environment variable,
# as a Windows path.
set -u
. "$(dirname "$0")/env.sh" "$1" "$2"
export MAILVIEW_EXE="Z:${3//\//\\}"
shift 3
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "run.sh: no Wine prefix at $WINEPREFIX" >&2
  exit 1
fi
"$wine" "$@" </dev/null
status=$?
wineserver -k 2>/dev/null
exit $status
