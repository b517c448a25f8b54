#!/usr/bin/env bash
# Creates a fresh, quiet Wine prefix (default build/wine-prefix, or $1) and
# waits until Wine has finished setting it up. No display is needed: console
# programs and services run without one.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
if [ $# -ge 1 ]; then
    export WINEPREFIX="$(realpath -m "$1")"
fi

loader="$(vq_prefix_loader)"
export WINELOADER="$loader"
wineserver -k >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX"
mkdir -p "$(dirname "$WINEPREFIX")"
echo "wine-prefix: creating $WINEPREFIX with $(basename "$loader")"
# No display: keep Wine from looking for one, so nothing waits on X.
DISPLAY= "$loader" wineboot --init >/dev/null 2>&1 || true
wineserver -w
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine-prefix: $WINEPREFIX was not created" >&2
    exit 1
fi
echo "wine-prefix: ready"
