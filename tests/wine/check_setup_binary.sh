#!/usr/bin/env bash
# Checks the two builds of Setup as shipped programs:
#   check_setup_binary.sh SETUP32.EXE SETUP64.EXE
# - the kind: a PE32 GUI program for i386 and a PE32+ GUI program for x86-64;
# - exactly one manifest, which requires administrator rights, is DPI aware
#   per monitor (v2, with the older dpiAware fallback) and binds common
#   controls 6;
# - the version resource with product, company, file version and description;
# - icons 128 and 134, each with 16, 32, 48 and 256 pixel images;
# - static imports only of DLLs that Windows always loads from its system
#   folder (the KnownDLLs, and comctl32 through the manifest's side-by-side
#   binding). Setup runs from folders others may write to: a DLL imported by
#   name from anywhere else could be planted beside it.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
resources="python3 $here/pe_resources.py"

# Compared without regard to case, as Windows does.
allowed=(kernel32 user32 gdi32 advapi32 shell32 ole32 oleaut32 comdlg32 shlwapi setupapi msvcrt comctl32)
# Named, so that the report says why: loaded from the system folder only, at run time.
forbidden=(winspool.drv cfgmgr32.dll)
failures=0

fail() {
    echo "  FAIL: $*"
    failures=$((failures + 1))
}
pass() { echo "  ok: $*"; }

check_kind() {
    local exe="$1" expected="$2" kind
    kind="$(file -b "$exe")"
    if [[ "$kind" == "$expected"* ]]; then
        pass "file: $kind"
    else
        fail "file says '$kind', not '$expected'"
    fi
}

check_manifest() {
    local exe="$1" text count
    text="$($resources manifest "$exe" 2>&1)" || { fail "$(tail -n1 <<<"$text")"; return; }
    count="$(grep -c '^== manifest ' <<<"$text")"
    if [ "$count" -ne 1 ]; then
        fail "$count manifest resources, not exactly one"
        return
    fi
    grep -q '^== manifest 1$' <<<"$text" || fail "the manifest is not resource 1"
    local -A wanted=(
        ["requireAdministrator"]='level="requireAdministrator"'
        ["PerMonitorV2"]='<dpiAwareness[^>]*>PerMonitorV2</dpiAwareness>'
        ["dpiAware fallback"]='<dpiAware[^>]*>true</dpiAware>'
        ["common controls 6"]='name="Microsoft.Windows.Common-Controls" version="6.0.0.0"'
        ["Windows 7"]='35138b9a-5d96-4fbd-8e2d-a2440225f93a'
        ["Windows 8"]='4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38'
        ["Windows 8.1"]='1f676c76-80e1-4239-95bb-83d0f6d0da78'
        ["Windows 10 and 11"]='8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a'
    )
    local name
    for name in "${!wanted[@]}"; do
        if grep -q -- "${wanted[$name]}" <<<"$text"; then
            pass "manifest: $name"
        else
            fail "manifest lacks $name"
        fi
    done
}

check_version() {
    local exe="$1" text key
    text="$($resources version "$exe")" || { fail "no version resource"; return; }
    for key in ProductName CompanyName FileVersion FileDescription; do
        if grep -q "^040904b0 $key=." <<<"$text"; then
            pass "version: $(grep "^040904b0 $key=" <<<"$text" | cut -d' ' -f2-)"
        else
            fail "the version resource has no English $key"
        fi
    done
}

check_icons() {
    local exe="$1" id sizes
    for id in 128 134; do
        sizes="$($resources icon "$exe" "$id" | cut -d' ' -f1 | sort -n | tr '\n' ' ')"
        if [ "$sizes" = "16x16 32x32 48x48 256x256 " ]; then
            pass "icon $id: $sizes"
        else
            fail "icon $id has '${sizes:-no images}', not 16, 32, 48 and 256 pixels"
        fi
    done
}

check_imports() {
    local exe="$1" objdump="$2" dll lower base ok
    local dlls
    dlls="$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')"
    [ -n "$dlls" ] || { fail "no imports found"; return; }
    while read -r dll; do
        lower="${dll,,}"
        base="${lower%.dll}"
        ok=0
        for name in "${allowed[@]}"; do
            [ "$lower" = "$name.dll" ] && ok=1
        done
        for name in "${forbidden[@]}"; do
            if [ "$lower" = "$name" ]; then
                fail "imports $dll statically: it must be loaded from the system folder at run time"
                continue 2
            fi
        done
        if [ "$ok" -eq 1 ]; then
            pass "import: $dll"
        else
            fail "imports $dll ($base is not a DLL Windows always takes from its system folder)"
        fi
    done <<<"$dlls"
}

if [ $# -ne 2 ]; then
    echo "usage: $0 SETUP32.EXE SETUP64.EXE" >&2
    exit 2
fi
for pair in "$1|PE32 executable (GUI) Intel 80386|i686-w64-mingw32-objdump" \
    "$2|PE32+ executable (GUI) x86-64|x86_64-w64-mingw32-objdump"; do
    IFS='|' read -r exe kind objdump <<<"$pair"
    echo "check_setup_binary: $exe"
    if [ ! -f "$exe" ]; then
        fail "no such file"
        continue
    fi
    check_kind "$exe" "$kind"
    check_manifest "$exe"
    check_version "$exe"
    check_icons "$exe"
    check_imports "$exe" "$objdump"
done
if [ "$failures" -ne 0 ]; then
    echo "check_setup_binary: $failures problem(s)"
    exit 1
fi
echo "check_setup_binary: all good"
