#!/usr/bin/env bash
# `make install` puts mailview and its manual page (written by CMake from
# docs/mailview.1.in, gzipped) under DESTDIR and PREFIX, the very files that
# `cmake --install` lays out; the page renders without a warning, and its
# PHP recipes work as written.
#   tests/install_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1
build=$2
tmp=$(mktemp -d)
chmod 755 "$tmp"  # man may read the page as its own user
trap 'rm -rf "$tmp"' EXIT
fail() { echo "install_test: $*" >&2; exit 1; }

make -s -C "$src" install DESTDIR="$tmp/a" INSTALL_FROM="$build" >/dev/null
make -s -C "$src" install DESTDIR="$tmp/b" PREFIX=/opt/mv INSTALL_FROM="$build" >/dev/null
for root in "$tmp/a/usr/local" "$tmp/b/opt/mv"; do
  [ -x "$root/bin/mailview" ] || fail "no $root/bin/mailview"
  cmp -s "$root/bin/mailview" "$build/mailview" || fail "$root/bin/mailview differs"
  [ "$(stat -c %a "$root/bin/mailview")" = 755 ] || fail "mode of $root/bin/mailview"
  page=$root/share/man/man1/mailview.1.gz
  gunzip -c "$page" 2>/dev/null | cmp -s - "$build/generated/mailview.1" || fail "no or wrong $page"
  [ "$(stat -c %a "$page")" = 644 ] || fail "mode of $page"
done
DESTDIR=$tmp/c cmake --install "$build" --prefix /opt/mv >/dev/null
diff -r "$tmp/b" "$tmp/c" || fail "make install and cmake --install lay out different files"
[ "$(find "$tmp/a" -type f | wc -l)" = 2 ] || fail "more than two files installed: $(find "$tmp/a" -type f)"

page=$tmp/a/usr/local/share/man/man1/mailview.1.gz
warnings=$(MANWIDTH=80 man --warnings=all -l "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man warns: $warnings"
text=$(MANWIDTH=80 man -l "$page" 2>/dev/null)
# Words as a reader finds them, wherever the page's lines break and pad.
words=$(tr -s ' \n' '  ' <<<"$text")
for want in "Send Mail" "Email too long" "10,000" "Ctrl-Z" "NUL" "Always 0" \
    "git send-email --sendmail-cmd=mailview"; do
  grep -qF -- "$want" <<<"$words" || fail "the page does not say: $want"
done

# The recipes, taken from the rendered page as a reader would copy them.
linux=$(grep -m1 -o 'sendmail_path = /usr/local/bin/mailview -t -i' <<<"$text") ||
  fail "no Linux recipe"
windows=$(grep -m1 -o 'sendmail_path = "\\"C:.*' <<<"$text") || fail "no Windows recipe"
# PHP reads the Windows line as the command it hands to cmd.exe.
printf '%s\n' "$windows" >"$tmp/windows.ini"
got=$(php -n -c "$tmp/windows.ini" -r 'echo ini_get("sendmail_path");')
[ "$got" = '"C:\Program Files\mailview\mailview.exe" -t -i' ] ||
  fail "PHP reads the Windows recipe as: $got"
# The Linux line, pointed at the installed copy: mail() succeeds (no display
# here, so mailview ends at once with status 0).
printf '%s\n' "${linux//\/usr\/local/$tmp/a/usr/local}" >"$tmp/linux.ini"
got=$(env -u DISPLAY -u WAYLAND_DISPLAY php -n -c "$tmp/linux.ini" \
  -r 'var_dump(mail("a@example.org", "hi", "body"));')
[ "$got" = "bool(true)" ] || fail "mail() through the Linux recipe gave: $got"
echo "install_test: ok"
