#!/usr/bin/env bash
# The medium assembly on a stand-in sample medium, with stand-in programs of
# the right kinds (the fixture dialog for Setup, the robot for Statuskeeper):
#   build_medium_test.sh BUILD32 BUILD64      (the win32 and win64 build folders)
# Checks the layout, that each file is the one it must be, the ISO's Joliet
# listing and contents, the Wine copy, and that a bad sample or a program of
# the wrong kind is refused without touching the last medium.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
if [ $# -ne 2 ]; then
    echo "usage: $0 BUILD32 BUILD64" >&2
    exit 2
fi
setup32="$1/tests/robot/FixtureDialog.exe"
setup64="$2/tests/robot/FixtureDialog.exe"
keeper32="$1/tests/robot/Robot.exe"
keeper64="$2/tests/robot/Robot.exe"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "  FAIL: $*"
    failures=$((failures + 1))
}
ok() { echo "  ok: $*"; }

# The sample: two models, all three architectures, one file named in
# another letter case than on disk, and elements Setup does not read.
sample="$work/sample"
mkdir -p "$sample/i386" "$sample/amd64" "$sample/ia64"
for arch in i386 amd64 ia64; do
    for f in vqdrv.dll vqui.dll; do echo "$arch $f" >"$sample/$arch/$f"; done
done
echo "data" >"$sample/VQ.GPD"
echo "help" >"$sample/vq.hlp"
echo "shared" >"$sample/vqshared.ini"
echo "shared" >"$sample/vqres.dll"
fileset() {
    echo "<$1><Driver>$1\\vqdrv.dll</Driver><Data>vq.gpd</Data><Config>$1\\vqui.dll</Config>"
    echo "<Help>vq.hlp</Help><DependsFile>vqshared.ini</DependsFile><DependsFile>vqres.dll</DependsFile><Paper>A4</Paper></$1>"
}
{
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo '<Printers>'
    echo "<Printer name=\"Varnoquill\">$(fileset i386)$(fileset amd64)$(fileset ia64)</Printer>"
    echo '<!-- <Printer name="Commented"/> -->'
    echo "<Printer name=\"Quill &amp; Co 200\">$(fileset i386)$(fileset amd64)</Printer>"
    echo '<Other><Printer name="NotRead"/></Other>'
    echo '</Printers>'
} >"$sample/config.xml"

out="$work/out"
build() { bash "$root/scripts/build-medium.sh" "$@"; }
echo "build_medium_test: a good medium"
if ! build --setup32 "$setup32" --setup64 "$setup64" --statuskeeper32 "$keeper32" \
    --statuskeeper64 "$keeper64" --sample "$sample" --out "$out"; then
    fail "the medium was not built"
    exit 1
fi
medium="$out/medium"
expected="$(
    cd "$sample" && find . -type f | sed 's|^\./||'
    printf '%s\n' Setup.exe i386/Varnoquill_Statuskeeper.exe "i386/Quill & Co 200_Statuskeeper.exe" \
        amd64/Varnoquill_Statuskeeper.exe "amd64/Quill & Co 200_Statuskeeper.exe"
)"
actual="$(cd "$medium" && find . -type f | sed 's|^\./||')"
if [ "$(sort <<<"$expected")" = "$(sort <<<"$actual")" ]; then
    ok "layout: $(wc -l <<<"$actual") files, Statuskeeper for both models in i386 and amd64, none in ia64"
else
    fail "layout differs:"
    diff <(sort <<<"$expected") <(sort <<<"$actual") | sed 's/^/    /'
fi
same() {
    if cmp -s "$1" "$2"; then ok "$3"; else fail "$3: $2 is not $1"; fi
}
same "$setup32" "$medium/Setup.exe" "Setup.exe is the 32-bit build"
same "$keeper32" "$medium/i386/Quill & Co 200_Statuskeeper.exe" "i386 has the 32-bit Statuskeeper"
same "$keeper64" "$medium/amd64/Varnoquill_Statuskeeper.exe" "amd64 has the 64-bit Statuskeeper"
same "$sample/config.xml" "$medium/config.xml" "config.xml as in the sample"

iso="$out/Varnoquill-medium.iso"
listing="$(isoinfo -J -f -i "$iso" | sed 's|^/||' | while IFS= read -r p; do
    isoinfo -J -x "/$p" -i "$iso" >/dev/null 2>&1 && [ -n "$(isoinfo -J -x "/$p" -i "$iso" | head -c1)" ] && echo "$p"
done)"
if [ "$(sort <<<"$actual")" = "$(sort <<<"$listing")" ]; then
    ok "ISO: the same files under their Joliet names"
else
    fail "the ISO's Joliet listing differs from the medium:"
    diff <(sort <<<"$actual") <(sort <<<"$listing") | sed 's/^/    /'
fi
isoinfo -J -x "/amd64/Quill & Co 200_Statuskeeper.exe" -i "$iso" >"$work/extracted"
same "$keeper64" "$work/extracted" "ISO: a long name with blanks reads back whole"
isoinfo -d -i "$iso" | grep -q '^Volume id: VARNOQUILL' && ok "ISO: volume VARNOQUILL" || fail "ISO volume id"

differences="$(diff -rq "$medium" "$out/medium-wine")"
if [ "$differences" = "Files $medium/Setup.exe and $out/medium-wine/Setup.exe differ" ]; then
    ok "the Wine copy differs only in Setup.exe"
else
    fail "the Wine copy differs otherwise: $differences"
fi
same "$setup64" "$out/medium-wine/Setup.exe" "the Wine copy has the x86-64 Setup.exe"

refused() {
    local what="$1"
    shift
    touch "$medium/last-medium-marker"
    if build "$@" --out "$out" >"$work/log" 2>&1; then
        fail "$what: built all the same"
    elif [ ! -f "$medium/last-medium-marker" ]; then
        fail "$what: the last medium was touched"
    else
        ok "$what: refused ($(tail -n1 "$work/log"))"
    fi
}
echo "build_medium_test: bad input"
refused "swapped Statuskeeper builds" --setup32 "$setup32" --statuskeeper32 "$keeper64" \
    --statuskeeper64 "$keeper32" --sample "$sample"
refused "the 64-bit Setup as the 32-bit one" --setup32 "$setup64" --statuskeeper32 "$keeper32" \
    --statuskeeper64 "$keeper64" --sample "$sample"
cp -R "$sample" "$work/missing"
rm "$work/missing/ia64/vqui.dll"
refused "a missing ia64 driver file" --setup32 "$setup32" --statuskeeper32 "$keeper32" \
    --statuskeeper64 "$keeper64" --sample "$work/missing"
cp -R "$sample" "$work/badname"
sed -i 's|name="Varnoquill"|name="Varno\\quill"|' "$work/badname/config.xml"
refused "a model name with a backslash" --setup32 "$setup32" --statuskeeper32 "$keeper32" \
    --statuskeeper64 "$keeper64" --sample "$work/badname"
cp -R "$sample" "$work/broken"
echo '<Printers><Printer name="x">' >"$work/broken/config.xml"
refused "an ill-formed config.xml" --setup32 "$setup32" --statuskeeper32 "$keeper32" \
    --statuskeeper64 "$keeper64" --sample "$work/broken"

if [ "$failures" -ne 0 ]; then
    echo "build_medium_test: $failures problem(s)"
    exit 1
fi
echo "build_medium_test: all good"
