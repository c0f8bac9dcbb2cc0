#!/usr/bin/env bash
# The packages that CPack makes from a build tree, checked as a user, dpkg
# and lintian see them. Nothing is installed onto this machine.
#   tests/package_test.sh deb SOURCE_DIR BUILD_DIR CPACK VERSION
#   tests/package_test.sh zip SOURCE_DIR BUILD_DIR CPACK VERSION WIN32_EXE WIN64_EXE
# The zip check exits 77 (skipped) when a Windows executable is not built.
set -euo pipefail
mode=$1 src=$2 build=$3 cpack=$4 version=$5
arch=$(dpkg --print-architecture)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "package_test $mode: $*" >&2; exit 1; }

make_package() {  # GENERATOR FILE: makes FILE in $tmp/out, as make package does
  # Under a strict umask: the modes in the package must not depend on it.
  (umask 077; CPACK=$cpack "$src/scripts/package.sh" "$build" "$tmp/out" "$1" \
    >"$tmp/cpack.log" 2>&1) || { cat "$tmp/cpack.log" >&2; fail "cpack -G $1"; }
  [ -f "$tmp/out/$2" ] || fail "no $2 among: $(ls "$tmp/out")"
  [ "$(cut -d' ' -f3- "$tmp/out/SHA256SUMS")" = "$2" ] ||
    fail "SHA256SUMS does not list $2 alone: $(cat "$tmp/out/SHA256SUMS")"
  (cd "$tmp/out" && sha256sum --quiet --strict -c SHA256SUMS) || fail "SHA256SUMS does not match"
}

gzip_is_debians() {  # FILE SOURCE: gzip -9 without name or time, of SOURCE
  # Header bytes 3..8: flags (no name), time stamp 0, "best compression".
  [ "$(od -An -tx1 -j3 -N6 "$1" | tr -d ' ')" = 000000000002 ] ||
    fail "$1: not compressed with gzip -9n"
  gunzip -c "$1" | cmp -s - "$2" || fail "$1 does not hold $2"
}

check_hardening() {  # PROGRAM: the packaged mailview, hardened as Debian's are
  # The flags its objects and its link were made with hold every one that
  # dpkg-buildflags gives for hardening (_FORTIFY_SOURCE at its level or
  # above); -g, -O2 and the prefix map come from the build type and CMake.
  local lib dirs=("$build"/CMakeFiles/entry.dir "$build"/platform/gtk/CMakeFiles/gtk_standin.dir)
  for lib in intake viewer platform; do dirs+=("$build/$lib/CMakeFiles/$lib.dir"); done
  local dir flag level
  for flag in $(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CPPFLAGS) \
      $(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS); do
    case $flag in -g | -O2 | -ffile-prefix-map=*) continue ;; esac
    for dir in "${dirs[@]}"; do
      if [[ $flag == -D_FORTIFY_SOURCE=* ]]; then
        level=$(grep -o -- '-D_FORTIFY_SOURCE=[0-9]' "$dir/flags.make" | cut -d= -f2) || true
        [ "${level:-0}" -ge "${flag#*=}" ] || fail "$dir: not built with $flag or above"
      else
        grep -qxF -- "$flag" <(tr ' ' '\n' <"$dir/flags.make") || fail "$dir: not built with $flag"
      fi
    done
  done
  for flag in $(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS); do
    grep -qxF -- "$flag" <(tr ' ' '\n' <"$build/CMakeFiles/mailview.dir/link.txt") ||
      fail "mailview is not linked with $flag"
  done
  # And they took: what lintian and hardening-check look for, in the file.
  local elf=$tmp/elf
  readelf -hldsW "$1" >"$elf"
  grep -q 'Type: *DYN' "$elf" && grep -q 'FLAGS_1.*PIE' "$elf" || fail "not a PIE"
  grep -q GNU_RELRO "$elf" || fail "no RELRO segment"
  grep -q 'BIND_NOW' "$elf" || fail "not bound at once (-z now)"
  grep -q ' __stack_chk_fail' "$elf" || fail "no stack protector"
  grep -qE ' __[a-z]+_chk@' "$elf" || fail "no fortified function"
  # Debian 12's start files carry no control-flow protection note, so the
  # program cannot: the objects built here must, where the processor has one.
  local obj objects=0 note
  case $arch in
  amd64) note='x86 feature: IBT, SHSTK' ;;  # -fcf-protection
  arm64) note='AArch64 feature: BTI, PAC' ;;  # -mbranch-protection=standard
  *) note= ;;
  esac
  while IFS= read -r obj; do
    [ -z "$note" ] || readelf -nW "$obj" | grep -qF "$note" || fail "$obj: no $note"
    objects=$((objects + 1))
  done < <(find "${dirs[@]}" -name '*.o')
  [ "$objects" -gt 0 ] || fail "no object files in ${dirs[*]}"
}

check_deb() {
  local deb=mailview_${version}_${arch}.deb root=$tmp/root
  make_package DEB "$deb"
  deb=$tmp/out/$deb
  local name want got
  while IFS='|' read -r name want; do
    got=$(dpkg-deb -f "$deb" "$name")
    # shellcheck disable=SC2053  # $want is a pattern
    [[ $got == $want ]] || fail "field $name is '$got', want '$want'"
  done <<EOF
Package|mailview
Version|$version
Architecture|$arch
Section|mail
Priority|optional
Maintainer|?* <?*@?*>
Depends|*libc6 (>= *
Depends|*, libgtk-3-0 (>= *
Recommends|fonts-freefont-ttf
Description|show outgoing mail in a window instead of sending it?*"Send Mail"*
EOF
  dpkg-deb -c "$deb" | awk '{print $1, $2, $6}' >"$tmp/files"
  diff -u - "$tmp/files" <<EOF || fail "file list of the .deb"
drwxr-xr-x root/root ./usr/
drwxr-xr-x root/root ./usr/bin/
-rwxr-xr-x root/root ./usr/bin/mailview
drwxr-xr-x root/root ./usr/share/
drwxr-xr-x root/root ./usr/share/doc/
drwxr-xr-x root/root ./usr/share/doc/mailview/
-rw-r--r-- root/root ./usr/share/doc/mailview/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/mailview/copyright
drwxr-xr-x root/root ./usr/share/lintian/
drwxr-xr-x root/root ./usr/share/lintian/overrides/
-rw-r--r-- root/root ./usr/share/lintian/overrides/mailview
drwxr-xr-x root/root ./usr/share/man/
drwxr-xr-x root/root ./usr/share/man/man1/
-rw-r--r-- root/root ./usr/share/man/man1/mailview.1.gz
EOF

  dpkg-deb -x "$deb" "$root"
  gzip_is_debians "$root/usr/share/man/man1/mailview.1.gz" "$build/generated/mailview.1"
  gzip_is_debians "$root/usr/share/doc/mailview/changelog.gz" "$src/packaging/changelog"
  local copyright=$root/usr/share/doc/mailview/copyright
  head -1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "copyright is not in the machine-readable format"
  grep -qx 'Copyright: 2026 The mailview developers' "$copyright" || fail "no copyright holder"
  sed -n '/^Permission/,$p' "$src/LICENSE" | sed 's/^$/./; s/^/ /' |
    diff -u - <(sed -n '/^ Permission/,$p' "$copyright") || fail "copyright's licence text"
  # The program that was built and tested, only stripped.
  strip -o "$tmp/stripped" "$build/mailview"
  cmp -s "$tmp/stripped" "$root/usr/bin/mailview" || fail "/usr/bin/mailview is not the built program, stripped"
  # Without a display it reads the whole message, also one over the limit
  # (the writer would see a broken pipe otherwise), and ends with status 0.
  for size in 20 20000; do
    head -c "$size" /dev/zero | tr '\0' x |
      env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/mailview" -t -i ||
      fail "the packaged mailview, $size characters without a display: status $?"
  done

  check_hardening "$root/usr/bin/mailview"

  # None of either today: a new warning is a fault to look at, not noise.
  # Nor any of its hardening tags, which it gives as information only.
  local status=0
  lintian -I --fail-on error,warning "$deb" >"$tmp/lintian" 2>&1 || status=$?
  grep -v '^running with root' "$tmp/lintian" || true
  [ "$status" = 0 ] || fail "lintian reports errors or warnings"
  ! grep -q ' hardening-' "$tmp/lintian" || fail "lintian finds the program not hardened"
}

check_zip() {
  local win32=$1 win64=$2 zip=mailview-${version}-windows.zip top=mailview-${version}-windows
  for exe in "$win32" "$win64"; do
    [ -f "$exe" ] || { echo "skipped: $exe is not built (make win32 win64)"; exit 77; }
  done
  make_package ZIP "$zip"
  cmake -E tar tf "$tmp/out/$zip" >"$tmp/files"  # in this order
  diff -u - "$tmp/files" <<EOF || fail "file list of the zip"
$top/README.txt
$top/mailview.txt
$top/win32/
$top/win32/mailview.exe
$top/win64/
$top/win64/mailview.exe
EOF
  (cd "$tmp" && cmake -E tar xf "out/$zip")
  cmp -s "$tmp/$top/win32/mailview.exe" "$win32" || fail "win32/mailview.exe differs from $win32"
  cmp -s "$tmp/$top/win64/mailview.exe" "$win64" || fail "win64/mailview.exe differs from $win64"

  local txt lf cr crlf
  for txt in "$tmp/$top/README.txt" "$tmp/$top/mailview.txt"; do
    lf=$(tr -cd '\n' <"$txt" | wc -c)
    cr=$(tr -cd '\r' <"$txt" | wc -c)
    crlf=$(grep -c $'\r$' "$txt" || true)
    [ "$lf" -gt 0 ] && [ "$lf" = "$cr" ] && [ "$lf" = "$crlf" ] && [ "$(tail -c1 "$txt" | od -An -tx1)" = " 0a" ] ||
      fail "${txt##*/}: $lf LF, $cr CR, $crlf CR LF; want CR LF line ends only"
  done
  # The manual as plain text: the same page, words and all, no formatting.
  ! LC_ALL=C grep -q $'[^\r -~]' "$tmp/$top/mailview.txt" || fail "mailview.txt: not plain ASCII text"
  tr -d '\r' <"$tmp/$top/mailview.txt" | tr -s ' \n' '  ' >"$tmp/manual"
  for words in 'Ctrl-Z byte (0x1A) ends the message' 'Email too long' 'EXIT STATUS Always 0'; do
    grep -qF "$words" "$tmp/manual" || fail "mailview.txt does not say: $words"
  done
  txt=$tmp/$top/README.txt
  tr -d '\r' <"$txt" >"$tmp/readme"
  head -1 "$tmp/readme" | grep -qx "mailview $version for Windows" || fail "README.txt: no version"
  grep -qF 'win32\mailview.exe' "$tmp/readme" && grep -qF 'win64\mailview.exe' "$tmp/readme" ||
    fail "README.txt does not name both executables as the zip holds them"
  tail -n "$(wc -l <"$src/LICENSE")" "$tmp/readme" | diff -u "$src/LICENSE" - ||
    fail "README.txt does not end with the licence"
  # PHP reads the README's php.ini line as the command it hands to cmd.exe.
  grep -m1 '^ *sendmail_path = ' "$tmp/readme" >"$tmp/php.ini" || fail "README.txt: no sendmail_path"
  local got
  got=$(php -n -c "$tmp/php.ini" -r 'echo ini_get("sendmail_path");')
  [ "$got" = '"C:\Program Files\mailview\mailview.exe" -t -i' ] ||
    fail "PHP reads README.txt's sendmail_path as: $got"
}

case $mode in
deb) check_deb ;;
zip) check_zip "$6" "$7" ;;
*) fail "unknown check" ;;
esac
echo "package_test $mode: ok"
