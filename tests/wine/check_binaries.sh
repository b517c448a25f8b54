#!/usr/bin/env bash
# Checks shipped Windows programs: the kind of executable, the embedded
# administrator manifest, and imports from Windows system DLLs only (a
# mingw-w64 runtime DLL would be missing on the target machine; winspool.drv
# and cfgmgr32.dll, which are no KnownDLLs, are bound at run time instead).
set -uo pipefail

allowed='^(KERNEL32|ADVAPI32|SETUPAPI|USER32|SHLWAPI|msvcrt|api-ms-win-crt-[a-z0-9-]+)\.(dll|drv)$'
failures=0
# DLL names are not case-sensitive on Windows.
shopt -s nocasematch

fail() {
    echo "  FAIL: $*"
    failures=$((failures + 1))
}

check_kind() {
    local exe="$1" kind
    kind="$(file -b "$exe")"
    echo "  file: $kind"
    case "$kind" in
    "PE32+ executable (console) x86-64"*) objdump=x86_64-w64-mingw32-objdump ;;
    "PE32 executable (console) Intel 80386"*) objdump=i686-w64-mingw32-objdump ;;
    *) fail "not a PE32+ x86-64 or PE32 i386 console program"; return 1 ;;
    esac
}

check_manifest() {
    local exe="$1"
    # Captured first: with pipefail, grep -q ending a pipe early would fail it.
    local text
    text="$(strings -n 8 "$exe")"
    if grep -q 'level="requireAdministrator"' <<<"$text"; then
        echo "  manifest: requireAdministrator embedded"
        return 0
    fi
    fail "no requireAdministrator manifest in the resources"
}

check_imports() {
    local exe="$1" dll bad=0
    while read -r dll; do
        if [[ "$dll" =~ $allowed ]]; then
            echo "  import: $dll"
        else
            fail "imports $dll, which is not a Windows system DLL"
            bad=1
        fi
    done < <("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
    return $bad
}

if [ $# -eq 0 ]; then
    echo "usage: $0 EXE..." >&2
    exit 2
fi
for exe in "$@"; do
    echo "check_binaries: $exe"
    if [ ! -f "$exe" ]; then
        fail "no such file"
        continue
    fi
    check_kind "$exe" || continue
    check_manifest "$exe"
    check_imports "$exe"
done
if [ "$failures" -ne 0 ]; then
    echo "check_binaries: $failures problem(s)"
    exit 1
fi
echo "check_binaries: all good"
