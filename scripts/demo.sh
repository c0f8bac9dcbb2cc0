#!/usr/bin/env bash
# Shows examples/welcome.eml in the mailview window.
#   scripts/demo.sh [PROGRAM]
# PROGRAM is the mailview to run, build/linux/mailview by default.
# With a display, the window opens there and stays until you close it.
# Without one, it opens on a virtual display; a screenshot is saved as PNG
# (in build/, or beside PROGRAM when one is given), the window is closed
# with Enter, and the path of the picture is printed.
set -euo pipefail
virtual=
if [ "${1:-}" = --virtual ]; then
  virtual=yes
  shift
fi
program=()
shot=
if [ $# -gt 0 ]; then
  program=("$(realpath "$1")")
  shot=$(dirname "${program[0]}")/demo-screenshot.png
fi
cd "$(dirname "$0")/.."
mailview=${program[0]:-build/linux/mailview}
shot=${shot:-$PWD/build/demo-screenshot.png}
message=examples/welcome.eml

if [ -z "$virtual" ]; then
  if [ -n "${WAYLAND_DISPLAY:-}" ] || { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }; then
    echo "Showing $message; close the window with OK, Enter or Esc."
    exec "$mailview" -t -i < "$message"
  fi
  exec tests/with-display.sh "$PWD/scripts/demo.sh" --virtual "${program[@]}"
fi

"$mailview" -t -i < "$message" &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Send Mail$' | head -n 1)
sleep 0.3  # let the first frame be drawn before taking the picture
import -window "$window" "$shot"
xdotool windowfocus --sync "$window" key Return
wait "$pid"
echo "No display here, so the window was shown on a virtual one."
echo "Screenshot: $shot"
