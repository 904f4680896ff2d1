#!/usr/bin/env bash
# Runs a Windows program under the project's Wine prefix; its exit code passes through.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
bash "$(dirname "$0")/wine-prefix.sh"
exec wine "$@"
