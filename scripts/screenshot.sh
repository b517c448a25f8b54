#!/usr/bin/env bash
# Saves what the X server in DISPLAY shows as a PNG: the whole screen, or the
# one top-level window whose title is given (with its frame, as a person sees
# it). Prints the file's path. The file appears only when it is complete.
#
#   scripts/screenshot.sh FILE.png [WINDOW-TITLE]
#
# The screen is composed from each application window's own contents, laid
# over the root window in stacking order: read off the root alone, Wine's
# windows that open wholly over another window of the same program (a
# message box over a centred dialog, the folder browser over a wizard) come
# out black, although their own contents are right.
set -uo pipefail

if [ $# -lt 1 ] || [ -z "${DISPLAY:-}" ]; then
    echo "usage: DISPLAY=:N $0 FILE.png [WINDOW-TITLE]" >&2
    exit 2
fi
file="$1"
title="${2:-}"
mkdir -p "$(dirname "$file")"
# Debian's ImageMagick; a convert earlier in PATH may be something else.
convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

xwd -root -silent >"$scratch/root.xwd" || exit 1
layers=("xwd:$scratch/root.xwd")
# Application windows are the ones with a class; xwininfo lists them top to
# bottom. A window that is not viewable cannot be read and is left out.
n=0
while read -r id geometry; do
    n=$((n + 1))
    if xwd -id "$id" -silent >"$scratch/$n.xwd" 2>/dev/null; then
        layers+=("(" "xwd:$scratch/$n.xwd" ")" -geometry "$geometry" -composite)
    fi
done < <(xwininfo -root -tree | awk '/^ *0x[0-9a-f]+ ".*": \(".*"\)/ { print $1, $NF }' | tac)

crop=""
if [ -n "$title" ]; then
    info="$(xwininfo -name "$title" 2>/dev/null)"
    window="$(sed -n 's/^xwininfo: Window id: \(0x[0-9a-f]*\).*/\1/p' <<<"$info")"
    if [ -z "$window" ]; then
        echo "screenshot: no window titled '$title'; taking the whole screen" >&2
    else
        # The window manager's frame (title bar, border) belongs to the picture.
        read -r left right top bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null |
            sed -n 's/.*= *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/\1 \2 \3 \4/p')
        field() { sed -n "s/^ *$1: *\(-*[0-9]*\).*/\1/p" <<<"$info"; }
        x=$(($(field 'Absolute upper-left X') - ${left:-0}))
        y=$(($(field 'Absolute upper-left Y') - ${top:-0}))
        w=$(($(field Width) + ${left:-0} + ${right:-0}))
        h=$(($(field Height) + ${top:-0} + ${bottom:-0}))
        ((x < 0)) && x=0
        ((y < 0)) && y=0
        crop="${w}x${h}+${x}+${y}"
    fi
fi
# Written aside and renamed: whoever waits for the file sees it whole.
if [ -n "$crop" ]; then
    "$convert" "${layers[@]}" -crop "$crop" +repage "png:$file.part"
else
    "$convert" "${layers[@]}" "png:$file.part"
fi
code=$?
[ "$code" -eq 0 ] && mv "$file.part" "$file" && echo "$file"
exit $code
