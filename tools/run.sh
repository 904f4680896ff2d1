#!/usr/bin/env bash
# `make run`: serves the maker's site on loopback, then starts the tool under Wine.
# With no display it starts its own Xvfb, saves a screenshot under build/ and closes the tool.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/wine-env.sh"
exe=$root/build/windows/tarvokdiy.exe
shots=$root/build/screenshots
mkdir -p "$shots"

server=
# The tool checks its version at start against the site root it was built with; when that
# is on loopback, serve the site here so the check passes.
site=$(sed -n 's/^TARVOK_SITE_ROOT:STRING=//p' "$root/build/windows/CMakeCache.txt" 2>/dev/null)
site=${site:-http://127.0.0.1:8642}
site_port=$(printf '%s' "$site" | sed -nE 's#^http://[^/:]+:([0-9]+).*#\1#p')
case $site in http://127.0.0.1[:/]*|http://127.0.0.1|http://localhost[:/]*|http://localhost) loopback=1 ;; *) loopback= ;; esac
if [ -f "$root/tools/site_server.py" ] && [ -n "$loopback" ]; then
  site_port=${site_port:-80}
  /usr/bin/python3 "$root/tools/site_server.py" --port "$site_port" --version 1.0 >"$root/build/site-server.log" 2>&1 &
  server=$!
  trap '[ -n "$server" ] && kill $server 2>/dev/null' EXIT
  for _ in $(seq 100); do
    /usr/bin/python3 -c "import sys, urllib.request; urllib.request.urlopen(sys.argv[1], timeout=1).read()" \
      "http://127.0.0.1:$site_port/tarvokdiy.txt" 2>/dev/null && break
    sleep 0.1
  done
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  wine "$exe"
  exit 0
fi

headless() {
  wine "$exe" &
  local pid=$!
  local win
  win=$(timeout 30 xdotool search --sync --name 'Tarvok' | head -n 1)
  sleep 1.5
  import -window root "$shots/run.png"
  echo "screenshot: $shots/run.png"
  [ -n "$win" ] && xdotool windowfocus --sync "$win" key Escape
  wait $pid
}
export -f headless
export exe shots
bash "$root/tools/with-display.sh" bash -c headless
