#!/usr/bin/env bash
# Runs a command with an X display for Wine's windows: the one given in
# VQ_WINE_DISPLAY, or a private Xvfb started here and stopped afterwards.
set -euo pipefail
if [ -n "${VQ_WINE_DISPLAY:-}" ]; then
    exec "$@"
fi
if ! command -v Xvfb >/dev/null; then
    echo "with-display: Xvfb is missing (scripts/install-deps.sh installs it)" >&2
    exit 1
fi
displayfile="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -f "$displayfile"' EXIT
for _ in $(seq 100); do
    [ -s "$displayfile" ] && break
    sleep 0.1
done
if [ ! -s "$displayfile" ]; then
    echo "with-display: Xvfb did not start" >&2
    exit 1
fi
export VQ_WINE_DISPLAY=":$(head -n1 "$displayfile")"
"$@"
