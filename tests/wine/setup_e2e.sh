#!/usr/bin/env bash
# Setup used end to end under Wine, as an administrator uses it: the robot
# drives the x86-64 Setup.exe from the medium (mapped as drive D:) on a
# desktop of its own, and the machine is then checked from outside Setup,
# through Wine's registry, service manager and files.
#
#   setup_e2e.sh [--shots DIR] MEDIUM-FOLDER [SCENARIO...]
#
# MEDIUM-FOLDER is a medium whose Setup.exe runs here (build/medium-wine).
# Scenarios, all by default, in this order:
#   install         English: Varnoquill on USB001 with the status monitor and
#                   the default printer; driver, queue, service and files
#   again           the same model again: "The printer has already existed!"
#   removal         Japanese: the removal page lists exactly the installed
#                   model; queue, driver, the model's own files and the
#                   service are gone afterwards
#   virtual-port    another folder chosen in the folder browser; no printer
#                   attached: the connect prompt, Cancel keeps the page, and
#                   the status service is registered already
#   missing-file    a medium without one driver file: the error box in
#                   Japanese, and no page
#   failing-install Chinese: a folder in the driver folder under the name of
#                   the model's Data file makes its copy fail; "错误" and the
#                   copy's error code
# again and removal run in the prefix that install leaves, missing-file in
# the one virtual-port leaves. Every prefix is a copy of one template, made
# once per run, whose spooler has the local port USB001. Each step prints
# what it did and how long it took; screenshots go to DIR/e2e-SCENARIO/
# (default build/screenshots).
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"
root="$VQ_ROOT"

shots="$root/build/screenshots"
if [ "${1:-}" = "--shots" ]; then
    shots="$2"
    shift 2
fi
if [ $# -lt 1 ] || [ ! -f "$1/Setup.exe" ] || [ ! -f "$1/config.xml" ]; then
    echo "usage: $0 [--shots DIR] MEDIUM-FOLDER-WITH-Setup.exe-AND-config.xml [SCENARIO...]" >&2
    exit 2
fi
medium="$(realpath "$1")"
shift
scenarios=("$@")
[ ${#scenarios[@]} -gt 0 ] ||
    scenarios=(install again removal virtual-port missing-file failing-install)
robot="$root/build/win64/tests/robot/Robot.exe"
[ -f "$robot" ] || { echo "setup_e2e: no $robot (build the win64 preset)" >&2; exit 2; }

work="$root/build/wine-e2e"
template="$work/template"
scripts="$work/scripts"
service=Varnoquill_StatusMonitor
program='C:\Varnoquill_Printer\Varnoquill_Statuskeeper.exe'
failures=0
scenario=""

say() { echo "e2e: ${scenario:+[$scenario] }$*"; }
fail() {
    say "FAIL: $*"
    failures=$((failures + 1))
}

# DESCRIPTION COMMAND...: a check of the machine; the command prints why
# when the machine is not as expected.
check() {
    local what="$1" begin=$SECONDS why
    shift
    if why="$("$@")"; then
        say "checked: $what ($((SECONDS - begin)) s)"
    else
        fail "$what: $why"
    fi
}

# The wizard's texts, by language and text id.
declare -A text=(
    [en,0]="Select Operation" [ja,0]="アクションの選択" [zh,0]="选择操作"
    [en,1]="Select Driver" [ja,1]="選択駆動" [zh,1]="选择驱动"
    [en,2]="Complete" [ja,2]="完了" [zh,2]="完成"
    [en,8]="Complete!" [ja,8]="完成!" [zh,8]="完成！"
    [en,9]="The printer has already existed!"
    [en,11]="Error" [ja,11]="エラー" [zh,11]="错误"
    [ja,12]="プリンタプロファイルがない、またはプロファイルが間違っている!"
    [en,14]="Please connect the printer before using the virtual port"
    [zh,15]="错误代码"
)
t() { printf '%s' "${text[$1,$2]}"; }

# The start and the walk to the model page, in language $1.
install_head() {
    cat <<EOF
step "start D:\\\\Setup.exe"
start "D:\\\\Setup.exe"
wait-class #32770 30000
step "page \"$(t "$1" 0)\": choose Install, Next"
wait-title "$(t "$1" 0)"
expect-checked 1001 yes
screenshot operation
click 1
step "page \"$(t "$1" 1)\" (folder): take the default folder C:\\\\Varnoquill_Printer, Next"
expect-text 1015 "C:\\\\Varnoquill_Printer"
screenshot folder
click 1
EOF
}

# The model page: choose Varnoquill on USB001 with the options $1 (virtual
# port), $2 (default printer) and $3 (status monitor), then Next.
choose_model() {
    cat <<EOF
step "page \"model and port\": Varnoquill, port USB001, virtual port $1, default printer $2, status monitor $3; Next"
expect-items 1004 "Varnoquill|Varnoquill Mini"
expect-combo-items 1011 "USB001"
select-item 1004 Varnoquill
select-combo 1011 USB001
check 1018 $1
check 1019 $2
check 1020 $3
screenshot model
click 1
EOF
}

# The completion page in language $1 showing $2, then the end of Setup.
completion() {
    cat <<EOF
step "page \"$(t "$1" 2)\": the outcome"
wait-title "$(t "$1" 2)" 120000
expect-text 1003 "$2"
screenshot complete
step "press \"$(t "$1" 2)\": Setup ends"
click 1
wait-exit any
EOF
}

# A prefix for a scenario, copied from the template, with MEDIUM as drive D:.
fresh_prefix() {
    local begin=$SECONDS
    export WINEPREFIX="$work/$1"
    rm -rf "$WINEPREFIX"
    cp -a "$template" "$WINEPREFIX" || return 1
    ln -sfn "$2" "$WINEPREFIX/dosdevices/d:"
    say "fresh prefix $WINEPREFIX from the template, medium $2 as D: ($((SECONDS - begin)) s)"
}

# LOCALE SCRIPT-NAME: the robot runs the script; the prefix's wineserver is
# left running, so the machine is checked as Setup left it.
run_robot() {
    local begin=$SECONDS
    rm -rf "$shots/e2e-$scenario"
    say "the robot uses Setup in $1:"
    bash "$root/tests/robot/run_robot_test.sh" --locale "$1" --prefix "$WINEPREFIX" \
        --shots "$shots/e2e-$scenario" --keep-server "$robot" "$scripts/$2.robot" 2>&1 |
        grep -v '^X connection to' | sed 's/\r$//; s/^/    /'
    local code=${PIPESTATUS[0]}
    if [ "$code" -ne 0 ]; then
        fail "the robot failed (exit code $code); screenshots in $shots/e2e-$scenario"
        return 1
    fi
    say "the robot is done ($((SECONDS - begin)) s)"
}

end_server() { wineserver -k >/dev/null 2>&1; }

# The prefix's spooler driver folder for x64, on the host.
x64_drivers() { echo "$WINEPREFIX/drive_c/windows/system32/spool/drivers/x64"; }

# Checks of the machine, each printing why it fails.
files_in_version_folder() {
    local name missing=""
    for name in "$@"; do
        [ -f "$(x64_drivers)/3/$name" ] || missing+=" $name"
    done
    [ -z "$missing" ] || { echo "missing in x64\\3:$missing"; return 1; }
}
files_not_in_version_folder() {
    local name left=""
    for name in "$@"; do
        [ ! -e "$(x64_drivers)/3/$name" ] || left+=" $name"
    done
    [ -z "$left" ] || { echo "still in x64\\3:$left"; return 1; }
}
no_staged_copy() {
    local staged
    staged="$(find "$(x64_drivers)" -maxdepth 1 -type f -printf '%f ')"
    [ -z "$staged" ] || { echo "left in the root of the driver folder: $staged"; return 1; }
}
key_exists() { vq_key_exists "$1" || { echo "no key $1"; return 1; }; }
key_gone() { ! vq_key_exists "$1" || { echo "$1 is still there"; return 1; }; }
# [FOLDER]: the service program in C:\FOLDER (default Varnoquill_Printer).
program_in_folder() {
    local placed="$WINEPREFIX/drive_c/${1:-Varnoquill_Printer}/Varnoquill_Statuskeeper.exe"
    cmp -s "$placed" "$medium/amd64/Varnoquill_Statuskeeper.exe" ||
        { echo "$placed is not the medium's amd64\\Varnoquill_Statuskeeper.exe"; return 1; }
}
is_folder() { [ -d "$1" ] || { echo "$1 is no longer a folder"; return 1; }; }

source "$here/wine-machine.sh"
mkdir -p "$work" "$scripts"
begin=$SECONDS
say "template prefix with the local port USB001"
bash "$root/scripts/wine-prefix.sh" "$template" >/dev/null || { fail "no template prefix"; exit 1; }
export WINEPREFIX="$template"
WINELOADER="$(vq_prefix_loader)"
export WINELOADER
# The local port monitor reads its ports from here whenever the spooler
# enumerates them, so no restart is needed.
vq_wine_cmd reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Ports' /v USB001 /t REG_SZ /d '' /f \
    >/dev/null || { fail "could not add the port USB001"; exit 1; }
end_server
wineserver -w
say "template ready ($((SECONDS - begin)) s)"

for scenario in "${scenarios[@]}"; do
    case "$scenario" in
    install)
        fresh_prefix main "$medium" || { fail "no prefix"; continue; }
        { install_head en; choose_model no yes yes; completion en "$(t en 8)"; } >"$scripts/install.robot"
        if run_robot en_US.UTF-8 install; then
            check "the driver Varnoquill is registered for \"Windows x64\"" \
                key_exists "$(vq_driver_key 'Windows x64' Varnoquill)"
            check "its files are in the spooler's x64\\3\\ folder" files_in_version_folder \
                vq_drv.dll vq.gpd vq_ui.dll vq.hlp UNIRES.DLL STDNAMES.GPD vq_res.dll
            check "no staged copy is left in the root of the driver folder" no_staged_copy
            check "the queue Varnoquill is on USB001 with WinPrint, RAW, the local attribute, priority 1" \
                vq_check_queue Varnoquill USB001
            check "Varnoquill is the default printer" vq_check_default_printer Varnoquill
            check "$service is registered with the quoted path, own process, auto start" \
                vq_check_service_registration "$service" "$program"
            check "the program is the medium's, in C:\\Varnoquill_Printer" program_in_folder
            check "$service is RUNNING" vq_check_service_running "$service"
        fi
        end_server
        ;;
    again)
        export WINEPREFIX="$work/main"
        { install_head en; choose_model no yes yes; completion en "$(t en 9)"; } >"$scripts/again.robot"
        if run_robot en_US.UTF-8 again; then
            check "the queue Varnoquill is still the one on USB001" vq_check_queue Varnoquill USB001
        fi
        end_server
        ;;
    removal)
        export WINEPREFIX="$work/main"
        cat >"$scripts/removal.robot" <<EOF
step "start D:\\\\Setup.exe"
start "D:\\\\Setup.exe"
wait-class #32770 30000
step "page \"$(t ja 0)\": choose Uninstall, Next"
wait-title "$(t ja 0)"
click 1002
expect-checked 1002 yes
screenshot operation
click 1
step "page \"$(t ja 1)\" (removal): it lists exactly the installed Varnoquill; choose it, Next"
expect-items 1004 "Varnoquill"
wait-title "$(t ja 1)"
select-item 1004 Varnoquill
screenshot removal
click 1
$(completion ja "$(t ja 8)")
EOF
        if run_robot ja_JP.UTF-8 removal; then
            check "the queue Varnoquill is gone" key_gone "$(vq_queue_key Varnoquill)"
            check "the driver Varnoquill is gone" key_gone "$(vq_driver_key 'Windows x64' Varnoquill)"
            check "the model's own files are gone from x64\\3" files_not_in_version_folder vq.gpd vq_res.dll
            check "the shared files stay" files_in_version_folder UNIRES.DLL STDNAMES.GPD
            check "$service is gone" key_gone "$(vq_service_key "$service")"
        fi
        end_server
        ;;
    virtual-port)
        fresh_prefix virtual "$medium" || { fail "no prefix"; continue; }
        mkdir -p "$WINEPREFIX/drive_c/Printers"
        {
            cat <<EOF
step "start D:\\\\Setup.exe"
start "D:\\\\Setup.exe"
wait-class #32770 30000
step "page \"$(t en 0)\": choose Install, Next"
wait-title "$(t en 0)"
click 1
step "page \"$(t en 1)\" (folder): browse to C:\\\\Printers, Next"
expect-text 1015 "C:\\\\Varnoquill_Printer"
click 1016
wait-browser
screenshot folder-browser
browse-folder "C:\\\\Printers"
expect-text 1015 "C:\\\\Printers"
click 1
step "page \"model and port\": Varnoquill with the virtual port and the status monitor, as they start; Next"
select-item 1004 Varnoquill
expect-checked 1018 yes
expect-checked 1020 yes
click 1
step "the connect prompt: answer OK, with no printer attached"
wait-msgbox 120000
expect-msgbox "$(t en 14)"
expect-msgbox-buttons OK,Cancel
screenshot connect
answer OK
step "the connect prompt again: answer Cancel"
wait-msgbox 60000
expect-msgbox "$(t en 14)"
answer Cancel
step "the model page stays"
wait-title "$(t en 1)"
expect-items 1004 "Varnoquill|Varnoquill Mini"
expect-selected 1004 "Varnoquill"
screenshot page-stays
step "press Cancel: Setup ends"
click 2
wait-exit any
EOF
        } >"$scripts/virtual-port.robot"
        if run_robot en_US.UTF-8 virtual-port; then
            check "$service is registered already, with the program in the folder browsed to" \
                vq_check_service_registration "$service" 'C:\Printers\Varnoquill_Statuskeeper.exe'
            check "the program is the medium's, in C:\\Printers" program_in_folder Printers
            check "no queue Varnoquill" key_gone "$(vq_queue_key Varnoquill)"
        fi
        end_server
        ;;
    missing-file)
        export WINEPREFIX="$work/virtual"
        [ -d "$WINEPREFIX" ] || fresh_prefix virtual "$medium" || { fail "no prefix"; continue; }
        broken="$work/medium-missing-file"
        rm -rf "$broken"
        cp -a "$medium" "$broken"
        rm "$broken/drivers/amd64/vq_ui.dll"
        ln -sfn "$broken" "$WINEPREFIX/dosdevices/d:"
        say "medium without drivers\\amd64\\vq_ui.dll as D:"
        cat >"$scripts/missing-file.robot" <<EOF
step "start D:\\\\Setup.exe"
start "D:\\\\Setup.exe"
step "the configuration error box, before any page"
wait-msgbox 30000
expect-msgbox "$(t ja 12)" "$(t ja 11)"
expect-msgbox-buttons OK
screenshot error
answer OK
step "Setup ends without showing a page"
wait-exit any
EOF
        run_robot ja_JP.UTF-8 missing-file
        end_server
        ;;
    failing-install)
        fresh_prefix failing "$medium" || { fail "no prefix"; continue; }
        # The staged copy of the Data file lands on a folder of its name.
        mkdir -p "$(x64_drivers)/vq.gpd"
        say "a folder x64\\vq.gpd planted in the spooler's driver folder"
        { install_head zh; choose_model no no yes; completion zh "$(t zh 11)\r\n$(t zh 15):5"; } \
            >"$scripts/failing-install.robot"
        if run_robot zh_CN.UTF-8 failing-install; then
            check "no queue Varnoquill" key_gone "$(vq_queue_key Varnoquill)"
            check "no driver Varnoquill" key_gone "$(vq_driver_key 'Windows x64' Varnoquill)"
            check "the planted folder is left alone" is_folder "$(x64_drivers)/vq.gpd"
        fi
        end_server
        ;;
    *)
        fail "no scenario $scenario"
        ;;
    esac
done
scenario=""

say "took $((SECONDS - begin)) s"
if [ "$failures" -ne 0 ]; then
    say "$failures failure(s); prefixes kept in $work"
    exit 1
fi
# Each prefix takes more than a gigabyte: kept only for a look after a failure.
rm -rf "$work"
say "passed"
