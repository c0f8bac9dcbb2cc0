#!/usr/bin/env bash
# Shows examples/welcome.eml in the mailview window.
# With a display, the window opens there and stays until you close it.
# Without one, it opens on a virtual display; a screenshot is saved as PNG,
# the window is closed with Enter, and the path of the picture is printed.
set -euo pipefail
cd "$(dirname "$0")/.."
mailview=build/linux/mailview
message=examples/welcome.eml

if [ "${1:-}" != --virtual ]; then
  if [ -n "${WAYLAND_DISPLAY:-}" ] || { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }; then
    echo "Showing $message; close the window with OK, Enter or Esc."
    exec "$mailview" -t -i < "$message"
  fi
  exec tests/with-display.sh "$0" --virtual
fi

shot=$PWD/build/demo-screenshot.png
"$mailview" -t -i < "$message" &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Send Mail$' | head -n 1)
sleep 0.3  # let the first frame be drawn before taking the picture
import -window "$window" "$shot"
xdotool windowfocus --sync "$window" key Return
wait "$pid"
echo "No display here, so the window was shown on a virtual one."
echo "Screenshot: $shot"
