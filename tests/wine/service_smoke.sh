#!/usr/bin/env bash
# The status service program as the service control manager sees it, in a
# fresh Wine prefix: registered as an own-process auto-start service, started,
# running, stopped, deleted; and run directly, as from a command prompt, it
# must end with exit code 0.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"

if [ $# -ne 1 ] || [ ! -f "$1" ]; then
    echo "usage: $0 path/to/Statuskeeper.exe" >&2
    exit 2
fi
exe="$(realpath "$1")"
service=Varnoquill_StatusMonitor
target='C:\Varnoquill_Printer\Varnoquill_Statuskeeper.exe'
export WINEPREFIX="$VQ_ROOT/build/wine-smoke"
loader="$(vq_prefix_loader)"
export WINELOADER="$loader"
step=0

say() { echo "service_smoke: $*"; }
fail() {
    say "FAIL: $*"
    wineserver -k >/dev/null 2>&1
    exit 1
}
next() {
    step=$((step + 1))
    say "step $step: $*"
}
# Through a file, not a pipe: Wine's helper processes keep a pipe open.
scratch="$(mktemp)"
trap 'rm -f "$scratch"' EXIT
sc() {
    DISPLAY= "$loader" sc "$@" >"$scratch" 2>&1 </dev/null
    local code=$?
    tr -d '\r' <"$scratch"
    return $code
}
state() { sc query "$service" | sed -n 's/^ *STATE *: *[0-9]* *//p'; }

# Waits for the service to reach a state, for at most about 30 seconds.
await_state() {
    local wanted="$1" current=""
    for _ in $(seq 60); do
        current="$(state)"
        [ "$current" = "$wanted" ] && return 0
        sleep 0.5
    done
    say "  state is '${current:-none}', not $wanted"
    return 1
}

next "fresh Wine prefix $WINEPREFIX"
bash "$VQ_ROOT/scripts/wine-prefix.sh" "$WINEPREFIX" >/dev/null || fail "no prefix"
# One wineserver for the whole run: were it to exit between commands, the
# next one would boot the service manager anew and it would start every
# auto-start service on its own.
wineserver -p || fail "wineserver did not start"
DISPLAY= "$loader" cmd /c exit >/dev/null 2>&1 </dev/null

next "copy $(basename "$exe") to $target"
mkdir -p "$WINEPREFIX/drive_c/Varnoquill_Printer"
cp "$exe" "$WINEPREFIX/drive_c/Varnoquill_Printer/Varnoquill_Statuskeeper.exe" || fail "copy"

next "sc create $service type= own start= auto binPath= $target"
out="$(sc create "$service" type= own start= auto binPath= "$target")" || fail "create: $out"
[ "$(state)" = "STOPPED" ] || fail "a new service is not STOPPED"

next "sc start $service"
out="$(sc start "$service")" || [ "$(state)" = "RUNNING" ] || fail "start: $out"
await_state RUNNING || fail "not RUNNING"
say "  RUNNING"

next "sc stop $service"
# On a busy machine Wine's sc has been seen to fail with no output while the
# service was still answering; the stop is asked again, a few times at most.
for attempt in 1 2 3; do
    out="$(sc stop "$service")" && break
    case "$(state)" in STOPPED | STOP_PENDING) break ;; esac
    [ "$attempt" -lt 3 ] || fail "stop: $out"
    say "  sc stop failed ('$out'), asking again"
    sleep 1
done
await_state STOPPED || fail "not STOPPED"
say "  STOPPED"

next "sc delete $service"
out="$(sc delete "$service")" || fail "delete: $out"
for _ in $(seq 20); do
    sc query "$service" >/dev/null || break
    sleep 0.5
done
sc query "$service" >/dev/null && fail "the service is still registered"
say "  gone"

next "run $target directly"
# Wine shows the debugger output channel on its debugstr channel.
WINEDEBUG=-all,warn+debugstr DISPLAY= "$(vq_loader_for "$exe")" "$target" >/dev/null 2>"$scratch"
code=$?
[ "$code" -eq 0 ] || fail "exit code $code"
say "  exit code 0"
# Not started by the service control manager: the dispatcher refuses with
# ERROR_FAILED_SERVICE_CONTROLLER_CONNECT.
grep -a -q 'OutputDebugStringA " MainError:1063\\n"' "$scratch" || fail "no MainError:1063 trace"
say "  traced \" MainError:1063\""

wineserver -k >/dev/null 2>&1
say "passed"
