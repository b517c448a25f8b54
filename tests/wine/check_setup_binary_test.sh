#!/usr/bin/env bash
# The binary check itself: it passes the fixture dialog (a GUI program with
# Setup's resources) and refuses each fault a build could bring in.
#   check_setup_binary_test.sh BUILD32 BUILD64
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
if [ $# -ne 2 ]; then
    echo "usage: $0 BUILD32 BUILD64" >&2
    exit 2
fi
good32="$1/tests/robot/FixtureDialog.exe"
good64="$2/tests/robot/FixtureDialog.exe"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
check() { bash "$here/check_setup_binary.sh" "$@" >"$work/log" 2>&1; }

if check "$good32" "$good64"; then
    echo "  ok: the fixture passes"
else
    echo "  FAIL: the fixture does not pass:"
    sed 's/^/    /' "$work/log"
    failures=$((failures + 1))
fi

# Each fault, with the words the check must say about it.
refuses() {
    local what="$1" words="$2"
    shift 2
    if check "$@"; then
        echo "  FAIL: $what passed"
        failures=$((failures + 1))
    elif ! grep -q -- "$words" "$work/log"; then
        echo "  FAIL: $what refused, but without '$words':"
        sed 's/^/    /' "$work/log"
        failures=$((failures + 1))
    else
        echo "  ok: $what refused ($(grep -m1 -- "$words" "$work/log" | sed 's/^ *//'))"
    fi
}
refuses "the two builds swapped" "not 'PE32 executable (GUI) Intel 80386'" "$good64" "$good32"
refuses "a console program" "not 'PE32+ executable (GUI) x86-64'" "$good32" "$2/tests/robot/Robot.exe"
refuses "a static import of winspool.drv" "imports WINSPOOL.DRV statically" "$good32" "$2/tests/robot/ImportProbe.exe"
cp "$good64" "$work/broken-manifest.exe"
python3 - "$work/broken-manifest.exe" <<'PY'
import sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
at = data.find(b"</assembly>")
data[at:at + 11] = b"</assemblX>"
open(path, "wb").write(data)
PY
refuses "a manifest that is not well-formed" "is not well-formed XML" "$good32" "$work/broken-manifest.exe"
cp "$good64" "$work/no-dpi.exe"
python3 - "$work/no-dpi.exe" <<'PY'
import sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
at = data.find(b"PerMonitorV2")
data[at:at + 12] = b"PerMonitorXX"
open(path, "wb").write(data)
PY
refuses "a manifest without PerMonitorV2" "manifest lacks PerMonitorV2" "$good32" "$work/no-dpi.exe"

if [ "$failures" -ne 0 ]; then
    echo "check_setup_binary_test: $failures problem(s)"
    exit 1
fi
echo "check_setup_binary_test: all good"
