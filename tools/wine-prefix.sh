#!/usr/bin/env bash
# Creates the project's Wine prefix under build/ (never ~/.wine): Chinese locale, the
# card's face names mapped to installed CJK fonts, Marlett for the caption buttons,
# and Wine's own window decoration (there is no window manager under Xvfb).
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
stamp=$WINEPREFIX/.tarvokdiy-ready
[ -f "$stamp" ] && exit 0
mkdir -p "$WINEPREFIX"
DISPLAY= wine wineboot -i >/dev/null 2>&1 || true
wineserver -w
key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
add() { wine reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null 2>&1; }
add "$key" 宋体 "AR PL UMing CN"
add "$key" 宋体-PUA "AR PL UMing CN"
add "$key" 黑体 "WenQuanYi Zen Hei"
add "$key" 楷体_GB2312 "AR PL UKai CN"
add 'HKCU\Software\Wine\X11 Driver' Decorated N
wineserver -w
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
wineserver -k || true
touch "$stamp"
echo "wine prefix ready in $WINEPREFIX"
