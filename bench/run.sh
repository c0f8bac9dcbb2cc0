#!/usr/bin/env bash
# Runs mailview's benchmarks and prints their figures as Markdown tables.
#   bench/run.sh [LINUX_BUILD_DIR [WIN32_BUILD_DIR [WIN64_BUILD_DIR]]]
# Needs the Linux build (mailview and the bench helpers) and the Windows ones.
# The intake benchmark keeps about 1 GiB of generated text in
# LINUX_BUILD_DIR/bench-data for the next run.
set -euo pipefail
cd "$(dirname "$0")/.."
linux=${1:-build/linux}
win32=${2:-build/win32}
win64=${3:-build/win64}
data=$linux/bench-data
goals=$(mktemp)
trap 'rm -f "$goals"' EXIT

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
echo "Machine: $(nproc) cores, ${cpu:-unknown CPU}, $(uname -sr)"
echo "Load before: $(uptime | sed 's/.*load average/load average/')"
echo

# A benchmark that fails says why; the others still run.
status=0
"$linux/intake_bench" "$linux/mailview" "$linux/floor_window" "$data" \
  "${INTAKE_REPETITIONS:-11}" | tee -a "$goals" || status=1

tests/with-display.sh "$linux/startup_bench" "$linux/mailview" \
  "$linux/floor_window" "$data" \
  "${STARTUP_REPETITIONS:-15}" examples/welcome.eml | tee -a "$goals" ||
  status=1

for exe in "$win32/mailview.exe:i686" "$win64/mailview.exe:x86_64"; do
  arch=${exe##*:} exe=${exe%:*}
  echo "$exe: $(stat -c %s "$exe") bytes; imports:"
  echo
  "$arch-w64-mingw32-objdump" -p "$exe" | awk '
    /^The Import Tables/ { imports = 1; next }
    imports && /^The / { imports = 0 }
    imports && /DLL Name:/ { if (dll) print "- " dll ": " names; dll = $3; names = "" }
    imports && dll && $1 ~ /^[0-9a-f]+$/ && NF == 3 {
      names = names (names == "" ? "" : ", ") $3
    }
    END { if (dll) print "- " dll ": " names }'
  echo
done
echo "Load after: $(uptime | sed 's/.*load average/load average/')"
echo
echo "The goals, as measured above:"
echo
grep '^Goal: ' "$goals" | sed 's/^Goal: /- /'

exit $status
