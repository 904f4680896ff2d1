# Sourced by the scripts that run the tool under Wine: the project's own prefix and locale.
# TARVOK_WINEPREFIX picks another prefix (one per concurrent user of this tree).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${TARVOK_WINEPREFIX:-$root/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8
# A crash must end the process (exit code 5), never wait in winedbg's dialog.
export WINEDLLOVERRIDES="winedbg.exe=d;mshtml=d;mscoree=d"
