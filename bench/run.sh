#!/usr/bin/env bash
# Runs mailview's benchmarks and prints their figures as Markdown tables.
#   bench/run.sh [LINUX_BUILD_DIR [WIN32_BUILD_DIR]]
# Needs the Linux build (mailview and the bench helpers) and the Windows one.
# The intake benchmark keeps about 1 GiB of generated text in
# LINUX_BUILD_DIR/bench-data for the next run.
set -euo pipefail
cd "$(dirname "$0")/.."
linux=${1:-build/linux}
win32=${2:-build/win32}
data=$linux/bench-data

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
echo "Machine: $(nproc) cores, ${cpu:-unknown CPU}, $(uname -sr)"
echo

# A benchmark that fails says why; the others still run.
status=0
"$linux/intake_bench" "$linux/mailview" "$data" \
  "${INTAKE_REPETITIONS:-11}" || status=1

tests/with-display.sh "$linux/startup_bench" "$linux/mailview" "$data" \
  "${STARTUP_REPETITIONS:-15}" examples/welcome.eml || status=1

exe=$win32/mailview.exe
echo "$exe: $(stat -c %s "$exe") bytes; imports:"
echo
i686-w64-mingw32-objdump -p "$exe" | awk '
  /^The Import Tables/ { imports = 1; next }
  imports && /^The / { imports = 0 }
  imports && /DLL Name:/ { if (dll) print "- " dll ": " names; dll = $3; names = "" }
  imports && dll && $1 ~ /^[0-9a-f]+$/ && NF == 3 {
    names = names (names == "" ? "" : ", ") $3
  }
  END { if (dll) print "- " dll ": " names }'
exit $status
