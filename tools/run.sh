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
if [ -f "$root/tools/site_server.py" ]; then
  /usr/bin/python3 "$root/tools/site_server.py" --port 8642 --version 1.0 >"$root/build/site-server.log" 2>&1 &
  server=$!
  trap '[ -n "$server" ] && kill $server 2>/dev/null' EXIT
  for _ in $(seq 50); do (exec 3<>/dev/tcp/127.0.0.1/8642) 2>/dev/null && break; sleep 0.1; done
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
