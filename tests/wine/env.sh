# Sourced by the Wine test scripts: the environment of one test prefix.
#   . tests/wine/env.sh ARCH PREFIX      ARCH: win32 or win64
# Sets $wine to the loader for ARCH. Debian's wine and wineboot scripts
# choose the 32-bit loader whenever it is installed, so the loaders are
# called by their own names. Where WINE_SKIP gives a reason why this host
# cannot run ARCH's programs, says so and exits with 77, CTest's skip.
if [ -n "${WINE_SKIP:-}" ]; then
  echo "skipped: $WINE_SKIP"
  exit 77
fi
case $1 in
win32) wine=/usr/lib/wine/wine ;;
win64) wine=/usr/lib/wine/wine64 ;;
*) echo "env.sh: unknown Wine architecture '$1'" >&2; exit 2 ;;
esac
export WINEARCH=$1 WINEPREFIX=$2 WINELOADER=$wine WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C  # U.S. English, code page 1252, whatever the machine speaks
