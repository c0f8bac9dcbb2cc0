#!/usr/bin/env bash
# Runs a command on a virtual X display of its own, then stops the display.
#   tests/with-display.sh COMMAND [ARG...]
# The command sees DISPLAY set to the new display and XVFB_PID set to the
# server's process id. The display number is chosen by the server, so any
# number of these can run at once.
set -u
tmp=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$tmp/display" \
  2>"$tmp/xvfb.log" &
xvfb=$!
for _ in $(seq 200); do
  [ -s "$tmp/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || break
  sleep 0.05
done
if [ ! -s "$tmp/display" ]; then
  echo "with-display: Xvfb did not start:" >&2
  cat "$tmp/xvfb.log" >&2
  rm -rf "$tmp"
  exit 1
fi
export DISPLAY=":$(head -n 1 "$tmp/display")"
export XVFB_PID=$xvfb
unset WAYLAND_DISPLAY
"$@"
status=$?
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
rm -rf "$tmp"
exit $status
