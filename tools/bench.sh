#!/usr/bin/env bash
# Runs bench.exe under Wine with a display and prints its table; the same rows go to
# build/bench/<time>.csv and build/bench/latest.csv.
#   tools/bench.sh [path/to/bench.exe] [case-filter]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=${1:-$root/${WIN:-build/windows}/bench.exe}
filter=${2:-}
if [ ! -f "$exe" ]; then
  echo "bench.exe not found at $exe (build it with: make bench)" >&2
  exit 1
fi
out=$root/build/bench
mkdir -p "$out"
raw=$(mktemp)
trap 'rm -f "$raw"' EXIT
bash "$root/tools/with-display.sh" bash "$root/tools/wine-run.sh" "$exe" $filter >"$raw"
rc=$?
tr -d '\r' <"$raw" | sed '/^--- csv ---$/,$d'
stamp=$(date -u +%Y%m%d-%H%M%S)
tr -d '\r' <"$raw" | sed '1,/^--- csv ---$/d' >"$out/$stamp.csv"
cp "$out/$stamp.csv" "$out/latest.csv"
echo "CSV: $out/$stamp.csv"
exit $rc
