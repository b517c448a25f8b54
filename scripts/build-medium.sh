#!/usr/bin/env bash
# Assembles the installation medium and its ISO image:
#
#   scripts/build-medium.sh --setup32 SETUP.EXE --statuskeeper32 EXE --statuskeeper64 EXE
#                           --sample FOLDER [--setup64 SETUP.EXE] [--out FOLDER]
#
# FOLDER (--sample) holds config.xml and the driver files it names, laid out
# as on the medium. Written into --out (default build/):
#   medium/                 Setup.exe (the 32-bit build), everything of the
#                           sample folder, and i386\ and amd64\ each with
#                           every model's <model>_Statuskeeper.exe; ia64\ gets
#                           none (no Statuskeeper is built for IA-64)
#   Varnoquill-medium.iso   the medium as ISO 9660 with Joliet names
#   medium-wine/            with --setup64: the same medium with the x86-64
#                           Setup.exe, for the tests under Wine (which cannot
#                           start 32-bit programs on this host)
# The models are read from config.xml; every driver file it names must be in
# the sample folder, and each program must be of its architecture, or nothing
# is written.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

say() { echo "build-medium: $*"; }
die() {
    echo "build-medium: $*" >&2
    exit 1
}
usage() {
    sed -n '4,5p' "${BASH_SOURCE[0]}" | sed 's/^# *//' >&2
    exit 2
}

setup32="" setup64="" keeper32="" keeper64="" sample="" out="$root/build"
while [ $# -gt 0 ]; do
    [ $# -ge 2 ] || usage
    case "$1" in
    --setup32) setup32="$2" ;;
    --setup64) setup64="$2" ;;
    --statuskeeper32) keeper32="$2" ;;
    --statuskeeper64) keeper64="$2" ;;
    --sample) sample="$2" ;;
    --out) out="$2" ;;
    *) usage ;;
    esac
    shift 2
done
[ -n "$setup32" ] && [ -n "$keeper32" ] && [ -n "$keeper64" ] && [ -n "$sample" ] || usage

# A program in the wrong place would only fail on the administrator's machine.
expect_kind() {
    local file="$1" kind="$2" what="$3"
    [ -f "$file" ] || die "$what: no file $file"
    file -b "$file" | grep -q "^$kind" || die "$what: $file is '$(file -b "$file")', not $kind"
}
expect_kind "$setup32" "PE32 executable (GUI) Intel 80386" "--setup32"
expect_kind "$keeper32" "PE32 executable (console) Intel 80386" "--statuskeeper32"
expect_kind "$keeper64" "PE32+ executable (console) x86-64" "--statuskeeper64"
[ -z "$setup64" ] || expect_kind "$setup64" "PE32+ executable (GUI) x86-64" "--setup64"
[ -f "$sample/config.xml" ] || die "no config.xml in $sample"
command -v genisoimage >/dev/null || die "genisoimage is missing (scripts/install-deps.sh installs it)"

catalogue() { python3 "$root/scripts/medium-catalogue.py" "$1" "$sample/config.xml"; }
models="$(catalogue models)" || die "cannot read the models of $sample/config.xml"
files="$(catalogue files)" || die "cannot read the driver files of $sample/config.xml"
[ -n "$models" ] || die "$sample/config.xml names no printer model"

# Windows paths in the catalogue: backslashes, any letter case (the medium
# is read by Windows, which ignores case).
find_case_insensitive() {
    local relative="${1//\\//}"
    find "$sample" -ipath "$sample/$relative" -print -quit
}
while IFS= read -r name; do
    [ -n "$name" ] || continue
    [ -n "$(find_case_insensitive "$name")" ] || die "$sample has no $name, which config.xml names"
done <<<"$files"
while IFS= read -r model; do
    case "$model" in
    *[\\/:*?\"\<\>\|]*) die "the model name '$model' cannot be part of a file name" ;;
    esac
done <<<"$models"

# Built aside and moved into place: a failed run leaves the last medium whole.
mkdir -p "$out"
stage="$(mktemp -d "$out/.medium.XXXXXX")"
trap 'rm -rf "$stage"' EXIT
medium="$stage/medium"
mkdir -p "$medium"
cp -R "$sample/." "$medium/"
cp "$setup32" "$medium/Setup.exe"
mkdir -p "$medium/i386" "$medium/amd64"
while IFS= read -r model; do
    cp "$keeper32" "$medium/i386/${model}_Statuskeeper.exe"
    cp "$keeper64" "$medium/amd64/${model}_Statuskeeper.exe"
done <<<"$models"
if [ -d "$medium/ia64" ] && [ -n "$(find "$medium/ia64" -iname '*_Statuskeeper.exe' -print -quit)" ]; then
    die "the sample folder has Statuskeeper programs in ia64"
fi

# Joliet keeps the long mixed-case names Windows shows; Rock Ridge the same
# for other systems. The volume label is what Explorer shows for the drive.
iso="$stage/Varnoquill-medium.iso"
genisoimage -quiet -J -joliet-long -r -V VARNOQUILL -o "$iso" "$medium" || die "genisoimage failed"

if [ -n "$setup64" ]; then
    cp -R "$medium" "$stage/medium-wine"
    cp "$setup64" "$stage/medium-wine/Setup.exe"
fi

rm -rf "$out/medium" "$out/medium-wine"
mv "$medium" "$out/medium"
mv "$iso" "$out/Varnoquill-medium.iso"
[ -z "$setup64" ] || mv "$stage/medium-wine" "$out/medium-wine"

say "models: $(tr '\n' ' ' <<<"$models")"
say "medium: $out/medium ($(find "$out/medium" -type f | wc -l) files)"
say "ISO:    $out/Varnoquill-medium.iso ($(du -k "$out/Varnoquill-medium.iso" | cut -f1) KiB)"
[ -z "$setup64" ] || say "Wine copy with the x86-64 Setup.exe: $out/medium-wine"
