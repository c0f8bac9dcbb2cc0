#!/usr/bin/env bash
# The long fuzz runs of `make fuzz-long`: each target for a given number of
# executions, its libFuzzer log kept in DIR, its figures printed in one line.
#   tests/fuzz/fuzz-long.sh run DIR NAME FUZZER [LIBFUZZER OPTION...] CORPUS...
#   tests/fuzz/fuzz-long.sh report DIR
# `run` always succeeds, so that every target gets its run; `report` prints
# the figures of them all and fails if any run found something or broke.
set -u
mode=$1 dir=$2
shift 2
mkdir -p "$dir"

load() { cut -d' ' -f1 /proc/loadavg; }

# The value of libFuzzer's final statistic $1 in log $2.
stat() { sed -n "s/^stat::$1: *//p" "$2" | tail -n 1; }

case $mode in
run)
  name=$1
  shift
  log=$dir/$name.log
  echo "fuzz-long: $name, log in $log"
  before=$(load)
  start=$(date +%s%N)
  "$@" >"$log" 2>&1
  status=$?
  ms=$((($(date +%s%N) - start) / 1000000))
  runs=$(stat number_of_executed_units "$log")
  # The last coverage figures: edges ("cov") and features ("ft").
  read -r edges features < <(sed -n \
    's/.* cov: \([0-9]*\) ft: \([0-9]*\) .*/\1 \2/p' "$log" | tail -n 1)
  # Each finding is a unit libFuzzer wrote out: crash-, leak-, oom-, timeout-.
  found=$(sed -n 's/.*Test unit written to //p' "$log")
  findings=$(grep -c . <<<"$found")
  if [ "$findings" = 0 ] && { [ -z "$runs" ] || [ "$status" != 0 ]; }; then
    findings="the run broke (status $status)"
  fi
  line="$name: ${runs:-?} executions in $((ms / 1000)) s,"
  line+=" $((${runs:-0} * 1000 / (ms > 0 ? ms : 1))) a second;"
  line+=" coverage ${edges:-?} edges, ${features:-?} features; findings: $findings;"
  line+=" load $before -> $(load)"
  echo "$line" | tee -a "$dir/summary"
  for unit in $found; do echo "  $unit" | tee -a "$dir/summary"; done
  ;;
report)
  echo "fuzz-long, every target:"
  cat "$dir/summary"
  ! grep -q 'findings: [^0]' "$dir/summary"
  ;;
*)
  echo "usage: $0 run|report DIR ..." >&2
  exit 2
  ;;
esac
