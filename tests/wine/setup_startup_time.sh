#!/usr/bin/env bash
# How long Setup takes under Wine from its start to the first page: the
# operation page on screen with its title, its button captions and its radio
# buttons' texts. A figure to read, not a test with a time limit:
#
#   setup_startup_time.sh MEDIUM [RUNS]     (default 7 runs, en_US.UTF-8)
#
# MEDIUM is a medium folder whose Setup.exe runs here (build/medium-wine).
# The prefix is warmed by one run that is not counted; then the robot starts
# Setup RUNS times on one desktop and reads the time from its start to the
# moment every text of the first page is there. Prints each run and the
# minimum, median and maximum. Fails only when a run does not reach the page.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
if [ $# -lt 1 ] || [ ! -f "$1/Setup.exe" ] || [ ! -f "$1/config.xml" ]; then
    echo "usage: $0 MEDIUM-FOLDER-WITH-Setup.exe-AND-config.xml [RUNS]" >&2
    exit 2
fi
medium="$(realpath "$1")"
runs="${2:-7}"
robot="$root/build/win64/tests/robot/Robot.exe"
[ -f "$robot" ] || { echo "setup_startup_time: no $robot (build the win64 preset)" >&2; exit 2; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# One run: the first page with all its texts, then Cancel.
one_run='start $SETUP
wait-class #32770 30000
wait-title "Select Operation"
expect-text 1 "Next Step >"
expect-text 1000 "< Prev Step"
expect-text 2 "Cancel"
expect-text 1001 "Install"
expect-text 1002 "Uninstall"
elapsed first-page
click 2
wait-exit any'
for ((i = 0; i <= runs; i++)); do
    printf '%s\n' "$one_run"
done >"$work/startup.robot"

bash "$root/tests/robot/run_robot_test.sh" --locale en_US.UTF-8 --prefix "$root/build/wine-gui" \
    --shots "$work/shots" "$robot" "$work/startup.robot" SETUP="$medium/Setup.exe" >"$work/log" 2>&1
code=$?
if [ "$code" -ne 0 ]; then
    cat "$work/log"
    echo "setup_startup_time: a run did not reach the first page"
    exit 1
fi
# The first run warms the prefix and is left out.
grep -o 'first-page: [0-9]* ms' "$work/log" | awk '{ print $2 }' | tail -n +2 >"$work/times"
awk '{ printf "setup_startup_time: run %d: %d ms\n", NR, $1 }' "$work/times"
sort -n "$work/times" | awk '
    { t[NR] = $1 }
    END {
        median = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
        printf "setup_startup_time: start to first page under Wine, %d warm runs: min %d ms, median %d ms, max %d ms\n",
            NR, t[1], median, t[NR]
    }'
