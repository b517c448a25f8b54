#!/usr/bin/env bash
# Runs a command on a desktop of its own: a virtual X server (Xvfb) on a free
# display, with a small window manager (openbox), so that Windows programs
# under Wine get real, managed top-level windows. DISPLAY is set for the
# command; the server and the window manager are stopped afterwards, however
# the command ends. Needs no display of its own (CI has none).
#
#   scripts/wine-desktop.sh [--size WxH] COMMAND [ARG...]
#
# The command's exit code is the script's. scripts/screenshot.sh, run from
# inside the command, saves the screen or one window as a PNG.
set -uo pipefail

size=1280x1024
if [ "${1:-}" = "--size" ]; then
    size="$2"
    shift 2
fi
if [ $# -eq 0 ]; then
    echo "usage: $0 [--size WxH] COMMAND [ARG...]" >&2
    exit 2
fi

say() { echo "wine-desktop: $*" >&2; }
for tool in Xvfb openbox xdpyinfo; do
    if ! command -v "$tool" >/dev/null; then
        say "$tool is missing (scripts/install-deps.sh installs it)"
        exit 1
    fi
done

scratch="$(mktemp -d)"
xvfb_pid=""
wm_pid=""
stop() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$scratch"
}
trap stop EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display itself and writes its number: no race with other
# desktops started at the same time on this machine.
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$scratch/display" \
    >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
done
if [ ! -s "$scratch/display" ]; then
    say "Xvfb did not start within 10 s:"
    cat "$scratch/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$(tr -d '[:space:]' <"$scratch/display")"
for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done

# openbox is ready once it has claimed the root window's supporting-WM property.
openbox --sm-disable >"$scratch/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
    say "openbox did not come up within 5 s:"
    cat "$scratch/openbox.log" >&2
    exit 1
fi
say "desktop $DISPLAY ($size) with openbox"

"$@"
code=$?
exit $code
