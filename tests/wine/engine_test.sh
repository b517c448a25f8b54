#!/usr/bin/env bash
# The installation engine against Wine's real spooler and service control
# manager, in a fresh prefix: a copy of the sample medium with the built
# Statuskeeper.exe as the model's service program, the engine check program
# standing where Setup stands. It installs, then removes; between and after,
# the machine is checked from outside with reg and sc, and at the end it must
# hold what it held before, apart from what removal leaves on purpose.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"

if [ $# -ne 2 ] || [ ! -f "$1" ] || [ ! -f "$2" ]; then
    echo "usage: $0 path/to/vq_engine_wine_check.exe path/to/Statuskeeper.exe" >&2
    exit 2
fi
check="$(realpath "$1")"
statuskeeper="$(realpath "$2")"
export WINEPREFIX="$VQ_ROOT/build/wine-engine"
loader="$(vq_prefix_loader)"
export WINELOADER="$loader"
drive_c="$WINEPREFIX/drive_c"
medium="$drive_c/medium"
service=Varnoquill_StatusMonitor
failures=0

say() { echo "engine_test: $*"; }
fail() {
    say "FAIL: $*"
    failures=$((failures + 1))
}
source "$VQ_ROOT/tests/wine/wine-machine.sh"
scratch="$(mktemp)"
state_dir="$(mktemp -d)"
trap 'rm -rf "$scratch" "$state_dir"' EXIT

# What the spooler, the service manager and the driver folders hold. Wine
# creates some keys only when first needed (a driver environment's Drivers
# and Version-3, the user's Devices), where Windows has them from the start,
# and removal leaves them empty: keys without values are not compared.
capture() {
    local into="$state_dir/$1"
    mkdir -p "$into"
    vq_wine_cmd reg query 'HKLM\System\CurrentControlSet\Control\Print' /s |
        awk '/^HKEY/ { key = $0; next } NF { print key " | " $0 }' >"$into/print.txt"
    vq_wine_cmd reg query 'HKLM\System\CurrentControlSet\Services' >"$into/services.txt"
    { vq_wine_cmd reg query 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Devices'
      vq_wine_cmd reg query 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows'
    } | grep ' REG_' >"$into/devices.txt"
    (cd "$drive_c/windows/system32/spool/drivers" && find . | sort) >"$into/drivers.txt"
    (cd "$drive_c" && find . -path ./windows -prune -o -path ./medium -prune -o -print | sort) >"$into/drive_c.txt"
}

say "fresh Wine prefix $WINEPREFIX"
bash "$VQ_ROOT/scripts/wine-prefix.sh" "$WINEPREFIX" >/dev/null || { say "FAIL: no prefix"; exit 1; }
# One wineserver for the whole run: a new one would boot the service
# manager anew, and it would start every auto-start service by itself.
wineserver -p || { say "FAIL: wineserver did not start"; exit 1; }
vq_wine_cmd cmd /c exit >/dev/null

say "medium in C:\\medium"
mkdir -p "$medium/amd64"
cp -r "$VQ_ROOT/tests/medium/." "$medium/"
cp "$statuskeeper" "$medium/amd64/Varnoquill_Statuskeeper.exe"
cp "$check" "$medium/Setup.exe"

capture before

say "install"
vq_wine_cmd 'C:\medium\Setup.exe' install | sed 's/^/  /'
[ "${PIPESTATUS[0]}" -eq 0 ] || fail "the install checks failed"

say "install, seen from outside"
why="$(vq_check_service_registration "$service" 'C:\Varnoquill_Printer\Varnoquill_Statuskeeper.exe')" ||
    fail "$why"
why="$(vq_check_service_running "$service")" || fail "$why"
driver_key="$(vq_driver_key 'Windows x64' Varnoquill)"
vq_key_exists "$driver_key" || fail "no driver Varnoquill for Windows x64"
printer_key="$(vq_queue_key Varnoquill)"
why="$(vq_check_queue Varnoquill LPT1:)" || fail "$why"
why="$(vq_check_default_printer Varnoquill)" || fail "$why"
for name in vq_drv.dll vq.gpd vq_ui.dll vq.hlp UNIRES.DLL STDNAMES.GPD vq_res.dll; do
    [ -f "$drive_c/windows/system32/spool/drivers/x64/3/$name" ] || fail "no $name in the version folder"
    [ ! -e "$drive_c/windows/system32/spool/drivers/x64/$name" ] || fail "a staged $name is left in the root"
done
[ "$failures" -eq 0 ] && say "  ok"

say "remove"
vq_wine_cmd 'C:\medium\Setup.exe' remove | sed 's/^/  /'
[ "${PIPESTATUS[0]}" -eq 0 ] || fail "the removal checks failed"

say "remove, seen from outside"
# Wine's sc has no "qc": the registration is looked for in the registry.
vq_key_exists "$(vq_service_key "$service")" && fail "the service is still registered"
vq_wine_cmd reg query "$driver_key" >/dev/null && fail "the driver is still registered"
vq_wine_cmd reg query "$printer_key" >/dev/null && fail "the queue is still there"

capture after
# Left on purpose: the driver, config and help files and the two shared
# files in the version folder, and the service program in its folder.
cat >"$state_dir/left.txt" <<'LEFT'
./x64/3
./x64/3/STDNAMES.GPD
./x64/3/UNIRES.DLL
./x64/3/vq.hlp
./x64/3/vq_drv.dll
./x64/3/vq_ui.dll
LEFT
for area in print services devices; do
    diff -u "$state_dir/before/$area.txt" "$state_dir/after/$area.txt" >"$scratch.diff" ||
        fail "$area differ after removal: $(cat "$scratch.diff")"
done
sort -u "$state_dir/before/drivers.txt" "$state_dir/left.txt" >"$state_dir/expected-drivers.txt"
diff -u "$state_dir/expected-drivers.txt" "$state_dir/after/drivers.txt" >"$scratch.diff" ||
    fail "the driver folders hold other than the files left on purpose: $(cat "$scratch.diff")"
printf '%s\n' ./Varnoquill_Printer ./Varnoquill_Printer/Varnoquill_Statuskeeper.exe |
    sort -u - "$state_dir/before/drive_c.txt" >"$state_dir/expected-drive_c.txt"
diff -u "$state_dir/expected-drive_c.txt" "$state_dir/after/drive_c.txt" >"$scratch.diff" ||
    fail "drive C holds other than the program left on purpose: $(cat "$scratch.diff")"
rm -f "$scratch.diff"

wineserver -k >/dev/null 2>&1
if [ "$failures" -ne 0 ]; then
    say "$failures failure(s)"
    exit 1
fi
say "passed; left on purpose: x64\\3\\{vq_drv.dll,vq_ui.dll,vq.hlp,UNIRES.DLL,STDNAMES.GPD}, C:\\Varnoquill_Printer\\Varnoquill_Statuskeeper.exe"
