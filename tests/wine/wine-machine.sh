# Sourced by the Wine tests that check, from outside the program under test,
# what a prefix's spooler, service manager and files hold. Needs WINEPREFIX
# set and scripts/wine-env.sh sourced. Each check prints nothing and returns
# 0 when the machine is as expected, else prints why and returns 1.

# Runs a Wine command without a display and prints its output without CRs.
# Through a file, not a pipe: Wine's helper processes keep a pipe open.
vq_wine_cmd() {
    local out code
    out="$(mktemp)"
    DISPLAY= "$VQ_WINE64" "$@" >"$out" 2>&1 </dev/null
    code=$?
    tr -d '\r' <"$out"
    rm -f "$out"
    return $code
}

vq_service_key() { echo "HKLM\\System\\CurrentControlSet\\Services\\$1"; }
vq_queue_key() { echo "HKLM\\System\\CurrentControlSet\\Control\\Print\\Printers\\$1"; }
# ENVIRONMENT MODEL, e.g. "Windows x64" Varnoquill
vq_driver_key() {
    echo "HKLM\\System\\CurrentControlSet\\Control\\Print\\Environments\\$1\\Drivers\\Version-3\\$2"
}
vq_drivers_dir() { echo "$WINEPREFIX/drive_c/windows/system32/spool/drivers"; }

vq_key_exists() { vq_wine_cmd reg query "$1" >/dev/null; }

# SERVICE PROGRAM: registered as its own process, started automatically, run
# as LocalSystem, with the program's path in double quotes. Wine's sc has no
# "qc", so the registration is read from the registry, where Wine keeps
# ImagePath as REG_SZ (Windows: REG_EXPAND_SZ).
vq_check_service_registration() {
    local qc
    qc="$(vq_wine_cmd reg query "$(vq_service_key "$1")")" || {
        echo "no registration of $1"
        return 1
    }
    local image
    image="$(sed -nE 's/^ *ImagePath +REG_(EXPAND_)?SZ +//p' <<<"$qc")"
    [ "$image" = "\"$2\"" ] || {
        echo "the registered path is not \"$2\" in quotes: $image"
        return 1
    }
    grep -q 'Type *REG_DWORD *0x10$' <<<"$qc" || { echo "$1 is not an own-process service"; return 1; }
    grep -q 'Start *REG_DWORD *0x2$' <<<"$qc" || { echo "$1 is not started automatically"; return 1; }
    grep -q 'ObjectName *REG_SZ *LocalSystem$' <<<"$qc" || { echo "$1 does not run as LocalSystem"; return 1; }
}

vq_check_service_running() {
    local query
    query="$(vq_wine_cmd sc query "$1")"
    grep -q 'STATE *: *4 *RUNNING' <<<"$query" || {
        echo "the service $1 is not RUNNING: $(grep STATE <<<"$query" | tr -s ' ')"
        return 1
    }
}

# QUEUE PORT: the queue with the processor, data type, local attribute and
# priority that Setup gives it.
vq_check_queue() {
    local q
    q="$(vq_wine_cmd reg query "$(vq_queue_key "$1")")" || { echo "no queue $1"; return 1; }
    local want
    for want in "^ *Port +REG_SZ +$2\$" '^ *Print Processor +REG_SZ +WinPrint$' \
        '^ *Datatype +REG_SZ +RAW$' '^ *Priority +REG_DWORD +0x1$' "^ *Printer Driver +REG_SZ +$1\$"; do
        grep -Eq "$want" <<<"$q" || { echo "queue $1 lacks /$want/:"$'\n'"$q"; return 1; }
    done
    local attributes
    attributes="$(sed -nE 's/^ *Attributes *REG_DWORD *(0x[0-9a-f]+)$/\1/p' <<<"$q")"
    [ -n "$attributes" ] && (((attributes & 0x40) != 0)) || {
        echo "queue $1 is not local: attributes ${attributes:-none}"
        return 1
    }
}

vq_check_default_printer() {
    local device
    device="$(vq_wine_cmd reg query 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows' /v Device |
        grep ' REG_SZ ')"
    grep -q "^ *Device *REG_SZ *$1," <<<"$device" || {
        echo "$1 is not the default printer: ${device:-no Device value}"
        return 1
    }
}
