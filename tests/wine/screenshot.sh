#!/usr/bin/env bash
# Takes the picture of mailview.exe under Wine for the documentation: the
# Send Mail window showing examples/welcome.eml, cropped to the window.
#   tests/wine/screenshot.sh build/win32/mailview.exe docs/screenshot-wine.png [ARCH]
# ARCH is the executable's Windows, win32 (the default) or win64.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${XVFB_PID:-}" ]; then
  exec "$here/../with-display.sh" "$0" "$@"
fi
exe=$(realpath "$1") out=$2 arch=${3:-win32}
mail=$here/../../examples/welcome.eml

. "$here/env.sh" "$arch" "$(mktemp -d)"
trap '"$here/prefix.sh" remove "$WINEPREFIX" "$arch"' EXIT
"$here/prefix.sh" create "$WINEPREFIX" "$arch" >/dev/null 2>&1

"$wine" "$exe" <"$mail" &
window=
for _ in $(seq 600); do
  window=$(xdotool search --name '^Send Mail$' 2>/dev/null | head -n 1) || true
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "screenshot.sh: no Send Mail window" >&2; exit 1; }

# The window is there; take pictures until two in a row agree, so that it
# has finished painting. Cropping away the plain desktop around it leaves
# the window, frame and all.
shot=$(mktemp --suffix=.png) last=$(mktemp --suffix=.png)
trap 'rm -f "$shot" "$last"; "$here/prefix.sh" remove "$WINEPREFIX" "$arch"' EXIT
for _ in $(seq 100); do
  import -window root -crop 1024x768+0+0 +repage -trim +repage "$shot"
  [ "$(compare -metric AE "$shot" "$last" null: 2>&1 || true)" = 0 ] && break
  cp "$shot" "$last"
  sleep 0.2
done
cp "$shot" "$out"
echo "wrote $out ($(identify -format %wx%h "$out"))"
