#!/usr/bin/env bash
# Runs one Windows program under Wine with the project's prefix, creating the
# prefix on first use; the cross builds' test emulator. A 32-bit program on a
# host that cannot run 32-bit code is skipped with exit code 77.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

program="$1"
shift
loader="$(vq_loader_for "$program")"
if [ "$loader" = "$VQ_WINE32" ] && ! vq_host_runs_32bit; then
    echo "wine-run: skipped $program: this host does not run 32-bit programs" >&2
    exit 77
fi

# Tests started side by side must not both create the prefix.
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    bash "$VQ_ROOT/scripts/wine-prefix.sh" "$WINEPREFIX" >&2
fi
flock -u 9

export WINELOADER="$(vq_prefix_loader)"
# A display only for programs that show windows (tests/wine/with-display.sh).
DISPLAY="${VQ_WINE_DISPLAY:-}" "$loader" "$program" "$@"
