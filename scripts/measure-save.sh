#!/usr/bin/env bash
# What one save costs beside plain appends timed in the same run (medians of repetitions), on the file system
# of the folder given (default: the temporary folder). Usage: scripts/measure-save.sh [folder] [repetitions]
set -euo pipefail
cd "$(dirname "$0")/.."
export OVRA_BENCH_DIR=${1:-}
reps=${2:-10}
cmake --preset release >/dev/null
cmake --build --preset release --target save_bench >/dev/null
build/release/bench/save_bench --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
  --benchmark_format=csv 2>/dev/null | awk -F, '
  $1 ~ /_median"?$/ { name = $1; gsub(/"|_median|\/real_time/, "", name); t[name] = $3; order[++n] = name }
  END {
    for (i = 1; i <= n; i++)
      printf "%-18s %10.1f us   %7.2fx plain append   %5.2fx synced append\n", order[i], t[order[i]] / 1000,
             t[order[i]] / t["PlainAppend"], t[order[i]] / t["SyncedAppend"]
  }'
