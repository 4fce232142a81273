#!/usr/bin/env bash
# Long fuzz runs, outside CI: every target for FUZZ_SECONDS (default 600)
# or FUZZ_RUNS executions, whichever ends first, one after the other.
# Prints each target's executions and speed; crashes land in build/fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
# Absolute paths: the settings target changes into a folder of its own.
root=$PWD
bash tools/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
seconds=${FUZZ_SECONDS:-600}
runs=${FUZZ_RUNS:-10000000}
mkdir -p "$root/build/fuzz/crashes"
status=0
for target in "$root"/build/fuzz/tests/fuzz/fuzz_*; do
  name=$(basename "$target" | sed 's/^fuzz_//')
  corpus=$root/build/fuzz/corpus/$name
  mkdir -p "$corpus"
  seeds=$root/build/fuzz/seeds/$name
  [ -d "$seeds" ] || seeds=
  echo "=== $name: up to $seconds s or $runs runs"
  if ! "$target" -max_total_time="$seconds" -runs="$runs" -print_final_stats=1 \
      -artifact_prefix="$root/build/fuzz/crashes/$name-" "$corpus" $seeds 2>&1 |
      grep -E 'stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb|ERROR|SUMMARY'; then
    status=1
  fi
done
exit $status
