#!/usr/bin/env bash
# Runs xmlinspect on the fixtures natively and under Wine and checks that the
# two print the same, exit status included.
#
#   tests/wine/xmlinspect_compare.sh BUILD_NATIVE_DIR BUILD_WIN_DIR
#
# Where the platforms legitimately differ, only what must agree is compared:
# the "msg" of a "file_error" record is the system's own message text, which
# the simulated machine holds in Windows' wording ("The system cannot find the
# file specified.") while Wine words it its own way ("File not found."), so
# the text is masked and the error code beside it is compared.
set -u

if [ $# -ne 2 ]; then
    echo "usage: $0 BUILD_NATIVE_DIR BUILD_WIN_DIR" >&2
    exit 2
fi

native="$1/tools/xmlinspect/xmlinspect"
exe="$2/tools/xmlinspect/xmlinspect.exe"
fixtures="$(cd "$(dirname "$0")" && pwd)/xmlinspect-fixtures"
for program in "$native" "$exe"; do
    if [ ! -f "$program" ]; then
        echo "$0: $program is not built" >&2
        exit 2
    fi
done

# The 64-bit loader runs where the 32-bit one cannot (a kernel without i386
# support); WINE overrides the choice.
if [ -z "${WINE:-}" ]; then
    if command -v wine64 >/dev/null; then
        WINE=wine64
    elif [ -x /usr/lib/wine/wine64 ]; then
        WINE=/usr/lib/wine/wine64
    else
        WINE=wine
    fi
fi
export WINEDEBUG=-all
export WINEPREFIX="${WINEPREFIX:-$(cd "$2" && pwd)/wineprefix}"

# Wine writes CR LF through the C runtime's text mode; the messages differ.
normalise() {
    tr -d '\r' | sed -e 's/<file_error msg="[^"]*"/<file_error msg="(system text)"/g'
}

run_native() {
    "$native" "$@" 2>/dev/null
    echo "exit: $?"
}

run_wine() {
    local args=() arg
    for arg in "$@"; do
        case "$arg" in
        /*) args+=("Z:${arg//\//\\}") ;;
        *) args+=("$arg") ;;
        esac
    done
    # ANSI code page 1252 under Wine, as on the simulated machine.
    env LANG=en_US.UTF-8 LC_ALL= "$WINE" "$exe" "${args[@]}" 2>/dev/null
    echo "exit: $?"
}

failures=0
compare() {
    local label="$1"
    shift
    local left right
    left="$(run_native "$@" | normalise)"
    right="$(run_wine "$@" | normalise)"
    if [ "$left" == "$right" ]; then
        echo "same: $label"
    else
        echo "DIFFERENT: $label"
        diff <(echo "$left") <(echo "$right") | sed 's/^/    /'
        failures=$((failures + 1))
    fi
}

attrs=(--attr id --attr name)
for fixture in "$fixtures"/*; do
    compare "$(basename "$fixture")" "${attrs[@]}" "$fixture"
done
compare "utf8-nobom.xml as text" --text "${attrs[@]}" "$fixtures/utf8-nobom.xml"
compare "missing file" "${attrs[@]}" "$fixtures/missing.xml"
compare "missing folder" "$fixtures/missing/missing.xml"
compare "bad usage" --attr

if [ "$failures" -ne 0 ]; then
    echo "$failures comparison(s) differ"
    exit 1
fi
echo "all comparisons agree"
