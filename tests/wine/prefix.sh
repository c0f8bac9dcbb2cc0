#!/usr/bin/env bash
# Makes or removes the Wine prefix that the Windows tests run in.
#   tests/wine/prefix.sh create DIR ARCH   (on a display: tests/with-display.sh)
#   tests/wine/prefix.sh remove DIR ARCH
# ARCH is win32 or win64. The prefix is a Windows with a virtual desktop,
# so that Wine draws the windows' frames itself as Windows does, no crash
# dialog, and Wine's own fonts (Fixedsys among them) in its Fonts folder,
# where Debian's Wine does not put them by itself.
set -euo pipefail
action=$1
. "$(dirname "$0")/env.sh" "$3" "$2"

case $action in
create)
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
  fi
  fonts=(/usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon)
  if [ ! -e "${fonts[0]}" ]; then
    echo "prefix.sh: Wine's fonts are missing (Debian package fonts-wine)" >&2
    exit 1
  fi
  "$wine" wineboot -i
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp "${fonts[@]}" "$WINEPREFIX/drive_c/windows/Fonts/"
  cat >"$WINEPREFIX/drive_c/mailview-tests.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
  "$wine" regedit /S 'C:\mailview-tests.reg'
  wineserver -w
  ;;
remove)
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  ;;
*)
  echo "usage: $0 create|remove DIR ARCH" >&2
  exit 2
  ;;
esac
