#!/usr/bin/env bash
# Setup under Wine with a display, in Japanese, English and Chinese: started
# without config.xml it shows the error box; started beside a sample medium
# it shows the operation page with the language's title. Saves a screenshot
# of each under build/screenshots/, lists them, and prints the time from the
# start to the first page. Run through tests/wine/with-display.sh.
set -euo pipefail
setup="$(realpath "$1")"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$root/scripts/wine-env.sh"
export WINELOADER="$(vq_prefix_loader)"
export DISPLAY="$VQ_WINE_DISPLAY"
shots="$root/build/screenshots"
medium="$(mktemp -d)"
# A window manager draws the title bars the screenshots show.
openbox >/dev/null 2>&1 &
manager=$!
trap 'kill "$manager" 2>/dev/null || true; rm -rf "$medium"' EXIT
mkdir -p "$shots" "$medium/bare" "$medium/full/amd64"
cp "$setup" "$medium/bare/Setup.exe"
cp "$setup" "$medium/full/Setup.exe"
echo driver >"$medium/full/amd64/drv.dll"
cat >"$medium/full/config.xml" <<'XML'
<?xml version="1.0" encoding="utf-8"?>
<Printers>
  <Printer name="Varnoquill VQ-10"><amd64><Driver>amd64\drv.dll</Driver></amd64></Printer>
</Printers>
XML

failures=0
# Starts Setup, waits (at most 30 s) for a window of the title, screenshots
# it and ends Setup; prints the milliseconds it took to appear.
shows() {
    local program="$1" locale="$2" title="$3" shot="$4" started=$(date +%s%N) found=""
    LC_ALL="$locale" "$VQ_WINE64" "$program" >/dev/null 2>&1 &
    local pid=$!
    for _ in $(seq 300); do
        if xwininfo -root -tree 2>/dev/null | grep -qF "\"$title\""; then
            found=yes
            break
        fi
        sleep 0.1
    done
    local took=$((($(date +%s%N) - started) / 1000000))
    if [ -n "$found" ]; then
        sleep 1 # let it paint
        import -window root "$shots/$shot"
        echo "ok: $locale \"$title\" after ${took} ms: $shots/$shot"
    else
        echo "FAILED: $locale: no window \"$title\"; windows:"
        xwininfo -root -tree | grep -E '^ +0x[0-9a-f]+ "' | head -20
        failures=$((failures + 1))
    fi
    kill "$pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
}

shows "$medium/bare/Setup.exe" ja_JP.UTF-8 "エラー" setup-ja-no-config.png
shows "$medium/bare/Setup.exe" en_US.UTF-8 "Error" setup-en-no-config.png
shows "$medium/bare/Setup.exe" zh_CN.UTF-8 "错误" setup-zh-no-config.png
shows "$medium/full/Setup.exe" ja_JP.UTF-8 "アクションの選択" setup-ja-operation.png
shows "$medium/full/Setup.exe" en_US.UTF-8 "Select Operation" setup-en-operation.png
shows "$medium/full/Setup.exe" zh_CN.UTF-8 "选择操作" setup-zh-operation.png
[ "$failures" -eq 0 ]
