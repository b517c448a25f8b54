# Sourced by the Wine scripts: a quiet Wine, its prefix under build/, and the
# loader for each kind of program. Debian's `wine` always takes the 32-bit
# loader when it is installed, even on a host whose kernel cannot run 32-bit
# programs, so the loader is chosen here by the program's own kind.
VQ_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$VQ_ROOT/build/wine-prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
VQ_WINE64=/usr/lib/wine/wine64
VQ_WINE32=/usr/lib/wine/wine

# Whether this host runs 32-bit programs at all (some kernels have the
# 32-bit emulation switched off).
vq_host_runs_32bit() {
    [ -x "$VQ_WINE32" ] && "$VQ_WINE32" --version >/dev/null 2>&1
}

# The loader for a Windows program: wine64 for PE32+, the 32-bit one for PE32.
vq_loader_for() {
    if file -b "$1" | grep -q '^PE32+'; then
        echo "$VQ_WINE64"
    else
        echo "$VQ_WINE32"
    fi
}

# The loader that boots and serves a prefix: the 32-bit one brings up both
# halves where it can run, wine64 alone elsewhere.
vq_prefix_loader() {
    if vq_host_runs_32bit; then
        echo "$VQ_WINE32"
    else
        echo "$VQ_WINE64"
    fi
}
