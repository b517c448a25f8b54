#!/usr/bin/env bash
# Wine takes the user's locale from LC_ALL only for a generated locale
# (Debian's locales-all), and silently falls back to 0x0409 otherwise. The
# GUI tests choose Setup's language by LC_ALL, so this proves the three:
#   locale_check.sh PROGRAM.EXE
# where PROGRAM.EXE --lcid prints GetUserDefaultLCID (the robot's fixture).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
    echo "usage: $0 PROGRAM.EXE" >&2
    exit 2
fi
program="$(realpath "$1")"
export WINEPREFIX="$VQ_ROOT/build/wine-gui"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    bash "$VQ_ROOT/scripts/wine-prefix.sh" "$WINEPREFIX" >&2 || exit 1
fi
failures=0
for pair in ja_JP.UTF-8=0x0411 en_US.UTF-8=0x0409 zh_CN.UTF-8=0x0804; do
    locale="${pair%%=*}"
    wanted="${pair#*=}"
    got="$(LC_ALL="$locale" DISPLAY= "$VQ_WINE64" "$program" --lcid 2>/dev/null </dev/null | tr -d '\r')"
    if [ "$got" = "$wanted" ]; then
        echo "locale_check: LC_ALL=$locale gives GetUserDefaultLCID $got"
    else
        echo "locale_check: FAIL: LC_ALL=$locale gives '${got:-nothing}', not $wanted"
        failures=$((failures + 1))
    fi
done
wineserver -k >/dev/null 2>&1
[ "$failures" -eq 0 ]
