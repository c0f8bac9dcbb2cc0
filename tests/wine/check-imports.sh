#!/usr/bin/env bash
# Checks that mailview.exe is a Windows GUI program for the machine named
# by FORMAT that needs only DLLs every Windows has: no C or C++ runtime DLLs
# of the compiler's.
#   tests/wine/check-imports.sh OBJDUMP mailview.exe pei-i386|pei-x86-64
set -u
objdump=$1 exe=$2 format=$3
case $format in
pei-i386) magic=010b kind="32-bit (PE32) executable for i386" ;;
pei-x86-64) magic=020b kind="64-bit (PE32+) executable for x86-64" ;;
*) echo "unknown format $format" >&2; exit 2 ;;
esac
headers=$("$objdump" -p "$exe") || { echo "cannot read $exe" >&2; exit 1; }
fail=0
grep -Eq "file format $format\$" <<<"$headers" &&
  grep -Eq "^Magic[[:space:]]+$magic" <<<"$headers" ||
  { echo "not a $kind" >&2; fail=1; }
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
