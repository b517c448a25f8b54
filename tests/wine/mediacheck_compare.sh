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
source "$here/native-wine-compare.sh"
vq_compare_programs "$1/tools/mediacheck/mediacheck" "$2/tools/mediacheck/mediacheck.exe"
shift 2

normalise() {
    tr -d '\r' | sed -E -e 's/(^|[ "(:])[CZ]:\\/\1X:\\/g' \
        -e 's/\(system error ([0-9]+): [^)]*\)/(system error \1: (system text))/g'
}

# Both forms must agree, and the JSON form must be JSON on both machines.
compare_both() {
    local label="$1"
    shift
    compare "$label" "$@"
    compare "$label --json" --json "$@"
    if [ -n "${1:-}" ] && ! echo "$compared_wine" | sed '$d' | python3 -m json.tool >/dev/null; then
        echo "NOT JSON: $label --json"
        failures=$((failures + 1))
    fi
}

media=("$@")
if [ ${#media[@]} -eq 0 ]; then
    media=("$here"/mediacheck-media/*/)
    empty="$(mktemp -d)"
    trap 'rm -rf "$empty"' EXIT
    compare_both "no config.xml" "$empty"
    compare "bad usage" --json
    compare "two folders" "$empty" "$empty"
fi
for medium in "${media[@]}"; do
    medium="$(cd "$medium" && pwd)"
    compare_both "$(basename "$medium")" "$medium"
done

vq_compare_finish
