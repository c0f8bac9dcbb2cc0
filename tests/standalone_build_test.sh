#!/usr/bin/env bash
# The program alone, built the standard way by someone without the test
# tools: a build tree of its own, configured with BUILD_TESTING off where
# neither GoogleTest nor libxtst can be found, built with clang++ and
# warnings as errors, installed into a DESTDIR with cmake --install; the
# installed program reads a message from a pipe without a display and ends
# with status 0.
#   tests/standalone_build_test.sh SOURCE_DIR
set -euo pipefail
src=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "standalone_build_test: $*" >&2; exit 1; }
command -v clang++ >/dev/null || { echo "skipped: no clang++ (scripts/deps.sh test)"; exit 77; }

# A pkg-config that knows no libxtst or GoogleTest when they are asked for
# by name. (Debian's GTK 3 needs libxtst through AT-SPI, so GTK's own
# requirements must still find it.)
cat >"$tmp/pkg-config" <<'EOF'
#!/bin/sh
for arg; do
  case $arg in xtst* | gtest* | gmock*)
    echo "Package $arg was not found in the pkg-config search path." >&2
    exit 1 ;;
  esac
done
exec pkg-config "$@"
EOF
chmod +x "$tmp/pkg-config"
"$tmp/pkg-config" --exists gtk+-3.0 || fail "GTK 3 is not found"
! "$tmp/pkg-config" --exists xtst 2>/dev/null || fail "libxtst is still found"

step() {  # COMMAND...: runs it, its output in the log, shown if it fails
  "$@" >>"$tmp/log" 2>&1 || { tail -n 40 "$tmp/log" >&2; fail "failed: $*"; }
}
step cmake --no-warn-unused-cli -S "$src" -B "$tmp/build" -DBUILD_TESTING=OFF \
  -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_CXX_COMPILER=clang++ \
  -DMAILVIEW_WERROR=ON -DCMAKE_INSTALL_PREFIX=/opt/mv \
  -DPKG_CONFIG_EXECUTABLE="$tmp/pkg-config"
! grep -A5 'CMake Warning' "$tmp/log" || fail "CMake warns"
step cmake --build "$tmp/build" -j2
for test_program in mailview-record read_mail_test process_test res_file_test figures_test; do
  [ ! -e "$tmp/build/$test_program" ] || fail "$test_program was built"
done
DESTDIR=$tmp/root step cmake --install "$tmp/build"

installed=$tmp/root/opt/mv/bin/mailview
[ -x "$installed" ] || fail "no /opt/mv/bin/mailview in DESTDIR: $(cd "$tmp/root" && find . -type f)"
[ -f "$tmp/root/opt/mv/share/man/man1/mailview.1.gz" ] || fail "no manual page"
status=0
printf 'To: you@example.org\r\nSubject: hi\r\n\r\nHello!\r\n' |
  env -u DISPLAY -u WAYLAND_DISPLAY timeout 60 "$installed" -t -i || status=$?
[ "$status" = 0 ] || fail "the installed mailview on a pipe without a display: status $status"
echo "standalone_build_test: ok"
