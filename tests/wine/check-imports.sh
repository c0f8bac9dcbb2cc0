#!/usr/bin/env bash
# Checks that mailview.exe is a 32-bit Windows GUI program that needs only
# DLLs every 32-bit Windows has: no C or C++ runtime DLLs of the compiler's.
#   tests/wine/check-imports.sh OBJDUMP mailview.exe
set -u
objdump=$1 exe=$2
headers=$("$objdump" -p "$exe") || { echo "cannot read $exe" >&2; exit 1; }
fail=0
grep -Eq '^Magic[[:space:]]+010b' <<<"$headers" ||
  { echo "not a 32-bit (PE32) executable" >&2; fail=1; }
grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$headers" ||
  { echo "not a Windows GUI program" >&2; fail=1; }

dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
echo "imports: $(echo $dlls); size: $(stat -c %s "$exe") bytes"
for dll in kernel32.dll user32.dll; do
  grep -qix "$dll" <<<"$dlls" || { echo "does not import $dll" >&2; fail=1; }
done
for dll in $dlls; do
  case ${dll,,} in
    kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|msvcrt.dll) ;;
    *) echo "imports $dll, which Windows does not ship" >&2; fail=1 ;;
  esac
done
exit $fail
