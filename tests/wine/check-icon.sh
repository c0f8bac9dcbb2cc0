#!/usr/bin/env bash
# Checks that the committed icon is what its drawings make.
#   tests/wine/check-icon.sh SOURCE_DIR
set -eu
res=$1/resources
tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT
python3 "$res/make-icon.py" "$tmp" "$res/mailview-32.xpm" "$res/mailview-16.xpm"
if ! cmp "$tmp" "$res/mailview.ico"; then
  echo "resources/mailview.ico is out of date; rebuild it with make-icon.py" >&2
  exit 1
fi
