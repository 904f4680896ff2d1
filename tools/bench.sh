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

# The tool checks its version at start against the site root it was built with (read
# from the build's CMake cache, as tools/run.sh does); on loopback, serve "1.0" there so
# the start-up bench sees a normal start.
server=
raw=$(mktemp)
trap 'rm -f "$raw"; [ -n "$server" ] && kill "$server" 2>/dev/null' EXIT
site=$(sed -n 's/^TARVOK_SITE_ROOT:STRING=//p' "$(dirname "$exe")/CMakeCache.txt" 2>/dev/null)
site=${site:-http://127.0.0.1:8642}
site_port=$(printf '%s' "$site" | sed -nE 's#^http://[^/:]+:([0-9]+).*#\1#p')
case $site in http://127.0.0.1[:/]*|http://127.0.0.1|http://localhost[:/]*|http://localhost) loopback=1 ;; *) loopback= ;; esac
if [ -n "$loopback" ]; then
  site_port=${site_port:-80}
  /usr/bin/python3 "$root/tools/site_server.py" --port "$site_port" --version 1.0 --lifetime 900 \
    >"$out/site-server.log" 2>&1 &
  server=$!
  for _ in $(seq 100); do
    /usr/bin/python3 -c "import sys, urllib.request; urllib.request.urlopen(sys.argv[1], timeout=1).read()" \
      "http://127.0.0.1:$site_port/tarvokdiy.txt" 2>/dev/null && break
    sleep 0.1
  done
  kill -0 "$server" 2>/dev/null || echo "warning: no site server of ours on port $site_port (see $out/site-server.log)" >&2
fi
bash "$root/tools/with-display.sh" bash "$root/tools/wine-run.sh" "$exe" $filter >"$raw"
rc=$?
tr -d '\r' <"$raw" | sed '/^--- csv ---$/,$d'
stamp=$(date -u +%Y%m%d-%H%M%S)
tr -d '\r' <"$raw" | sed '1,/^--- csv ---$/d' >"$out/$stamp.csv"
cp "$out/$stamp.csv" "$out/latest.csv"
echo "CSV: $out/$stamp.csv"
exit $rc
