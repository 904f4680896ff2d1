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
wineserver -p >/dev/null 2>&1 || true
"$@"
rc=$?
wineserver -k >/dev/null 2>&1 || true
[ -n "$started" ] && kill "$started" 2>/dev/null
exit $rc
