#!/usr/bin/env bash
# Runs mediacheck natively and under Wine over the same media, in both output
# forms, and checks that the two print the same, exit status included.
#
#   tests/wine/mediacheck_compare.sh BUILD_NATIVE_DIR BUILD_WIN_DIR [MEDIUM-FOLDER]...
#
# Without media it compares over the fixture media beside this script (and a
# folder without config.xml, and bad usage); with media, over those.
#
# Where the machines legitimately differ, only what must agree is compared:
# - a host path /a/b is C:\a\b on the simulated machine and Z:\a\b under
#   Wine, so the drive letter of a path is masked;
# - the system's message after an error code is Windows' wording on the
#   simulated machine and Wine's own under Wine, so it is masked and the code
#   beside it is compared;
# - Wine's C runtime writes CR LF.
set -u

if [ $# -lt 2 ]; then
    echo "usage: $0 BUILD_NATIVE_DIR BUILD_WIN_DIR [MEDIUM-FOLDER]..." >&2
    exit 2
fi
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/wine-env.sh"
native="$1/tools/mediacheck/mediacheck"
exe="$2/tools/mediacheck/mediacheck.exe"
shift 2
for program in "$native" "$exe"; do
    if [ ! -f "$program" ]; then
        echo "$0: $program is not built" >&2
        exit 2
    fi
done
wine="$(vq_loader_for "$exe")"

normalise() {
    tr -d '\r' | sed -E -e 's/(^|[ "(:])[CZ]:\\/\1X:\\/g' \
        -e 's/\(system error ([0-9]+): [^)]*\)/(system error \1: (system text))/g'
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
    env LANG=en_US.UTF-8 LC_ALL= "$wine" "$exe" "${args[@]}" 2>/dev/null
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
        echo "same: $label ($(echo "$left" | tail -n 1))"
    else
        echo "DIFFERENT: $label"
        diff <(echo "$left") <(echo "$right") | sed 's/^/    /'
        failures=$((failures + 1))
    fi
    # The JSON form must be JSON on both machines.
    if [ "${1:-}" == "--json" ] && [ -n "${2:-}" ] && command -v python3 >/dev/null; then
        if ! echo "$right" | sed '$d' | python3 -m json.tool >/dev/null; then
            echo "NOT JSON: $label"
            failures=$((failures + 1))
        fi
    fi
}

media=("$@")
if [ ${#media[@]} -eq 0 ]; then
    media=("$here"/mediacheck-media/*/)
    empty="$(mktemp -d)"
    trap 'rm -rf "$empty"' EXIT
    compare "no config.xml" "$empty"
    compare "no config.xml --json" --json "$empty"
    compare "bad usage" --json
    compare "two folders" "$empty" "$empty"
fi
for medium in "${media[@]}"; do
    medium="$(cd "$medium" && pwd)"
    compare "$(basename "$medium")" "$medium"
    compare "$(basename "$medium") --json" --json "$medium"
done

if [ "$failures" -ne 0 ]; then
    echo "$failures comparison(s) differ"
    exit 1
fi
echo "all comparisons agree"
