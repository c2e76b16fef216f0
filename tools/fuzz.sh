#!/usr/bin/env bash
# fuzz.sh FUZZER SECONDS: runs the fuzzer on its corpus; prints the totals, or the report on a finding.
set -uo pipefail
fuzzer=$1
seconds=$2
dir=$(dirname "$(dirname "$fuzzer")")
mkdir -p "$dir/corpus" "$dir/findings"
"$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$dir/findings/" "$dir/corpus" >"$dir/fuzz.log" 2>&1
status=$?
if [ $status -ne 0 ]; then
  tail -n 60 "$dir/fuzz.log"
  echo "fuzz: FAILED (status $status), input kept in $dir/findings/" >&2
  exit 1
fi
grep -E '^(Done|stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb))' "$dir/fuzz.log"
echo "fuzz: no finding in $seconds s"
