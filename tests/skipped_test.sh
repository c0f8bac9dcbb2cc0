#!/usr/bin/env bash
# scripts/skipped.py, the last step of make test, over what CTest itself
# wrote: a tree whose tests skip themselves in each way this project's do
# (exit 77 after "skipped: REASON", GoogleTest's GTEST_SKIP), pass and
# fail, and a tree that was skipped whole. One line each, with the reason.
#   tests/skipped_test.sh SOURCE_DIR CTEST
set -euo pipefail
src=$1 ctest=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/scripts" "$tmp/build/demo" "$tmp/project"
cp "$src/scripts/skipped.py" "$tmp/scripts/"

cat >"$tmp/project/CTestTestfile.cmake" <<'EOF'
add_test(by_status sh -c "echo 'working'; echo 'skipped: no wine32 here: held broken packages'; exit 77")
set_tests_properties(by_status PROPERTIES SKIP_RETURN_CODE 77)
add_test(by_gtest sh -c "printf '%s\n' '[ RUN      ] Tracing.Calls' 'child_test.cpp:155: Skipped' 'strace cannot trace here' '' '[  SKIPPED ] Tracing.Calls (0 ms)'")
set_tests_properties(by_gtest PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
add_test(silent sh -c "exit 77")
set_tests_properties(silent PROPERTIES SKIP_RETURN_CODE 77)
add_test(passes sh -c "echo skipped: not really; exit 0")
add_test(fails sh -c "exit 1")
EOF
(cd "$tmp/project" && "$ctest" --output-junit "$tmp/build/demo/junit.xml" >/dev/null 2>&1) || true
echo "its packages could not be installed" >"$tmp/arm64"

"$tmp/scripts/skipped.py" demo "arm64tree:$tmp/arm64" "built:$tmp/none" >"$tmp/out"
diff -u - "$tmp/out" <<EOF
Skipped: 5
  demo by_status: no wine32 here: held broken packages
  demo by_gtest: strace cannot trace here
  demo silent: SKIP_RETURN_CODE=77
  arm64tree (the whole tree): its packages could not be installed
  built (every test): it has no results, build/built/junit.xml
EOF
"$tmp/scripts/skipped.py" >"$tmp/out"
[ "$(cat "$tmp/out")" = "Skipped: nothing" ] || { cat "$tmp/out"; exit 1; }
echo "skipped_test: ok"
