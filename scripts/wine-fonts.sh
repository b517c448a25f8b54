#!/usr/bin/env bash
# Makes Japanese and Chinese text render in a Wine prefix whatever its locale:
#   scripts/wine-fonts.sh PREFIX
# Dialogs use "MS Shell Dlg", which Wine maps to its own Tahoma; Tahoma has no
# CJK glyphs. Under a Japanese or Chinese locale Wine links a CJK font in by
# itself, under any other locale CJK text comes out as boxes. A system link
# from the dialog fonts to WenQuanYi Micro Hei (fonts-wqy-microhei) fills
# the missing glyphs from it in every locale, Latin text keeping Tahoma.
# Wine rewrites its font links whenever a prefix starts under another code
# page than the last time, so run this under the locale of the run that
# follows (LC_ALL), right before it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
if [ $# -ne 1 ]; then
    echo "usage: $0 PREFIX" >&2
    exit 2
fi
export WINEPREFIX="$(realpath "$1")"
link='wqy-microhei.ttc,WenQuanYi Micro Hei'
key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "Segoe UI"; do
    if ! DISPLAY= "$VQ_WINE64" reg add "$key" /v "$face" /t REG_MULTI_SZ /d "$link" /f >/dev/null 2>&1 </dev/null; then
        echo "wine-fonts: could not link $face in $WINEPREFIX" >&2
        exit 1
    fi
done
wineserver -w
echo "wine-fonts: dialog fonts linked to WenQuanYi Micro Hei in $WINEPREFIX (${LC_ALL:-no LC_ALL})"
