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

fixtures="$(cd "$(dirname "$0")" && pwd)/xmlinspect-fixtures"
source "$(dirname "$0")/native-wine-compare.sh"
vq_compare_programs "$1/tools/xmlinspect/xmlinspect" "$2/tools/xmlinspect/xmlinspect.exe"

# Wine writes CR LF through the C runtime's text mode; the messages differ.
normalise() {
    tr -d '\r' | sed -e 's/<file_error msg="[^"]*"/<file_error msg="(system text)"/g'
}

attrs=(--attr id --attr name)
for fixture in "$fixtures"/*; do
    compare "$(basename "$fixture")" "${attrs[@]}" "$fixture"
done
compare "utf8-nobom.xml as text" --text "${attrs[@]}" "$fixtures/utf8-nobom.xml"
compare "missing file" "${attrs[@]}" "$fixtures/missing.xml"
compare "missing folder" "$fixtures/missing/missing.xml"
compare "bad usage" --attr

vq_compare_finish
