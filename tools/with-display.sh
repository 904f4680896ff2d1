#!/usr/bin/env bash
# Runs a command with an X display: the caller's when it works, else a private Xvfb
# that lives exactly as long as the command. Keeps one wineserver warm meanwhile.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
started=
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  fifo=$(mktemp -u) && mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  started=$!
  read -r n <"$fifo"
  rm -f "$fifo"
  export DISPLAY=:$n
fi
bash "$(dirname "$0")/wine-prefix.sh" >/dev/null
wineserver -p >/dev/null 2>&1 || true
# Start Wine's background services now, with no inherited output: otherwise they would
# hold the pipes of the first program's caller (ctest) open for as long as they live.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
"$@"
rc=$?
wineserver -k >/dev/null 2>&1 || true
[ -n "$started" ] && kill "$started" 2>/dev/null
exit $rc
