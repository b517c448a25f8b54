#!/usr/bin/env bash
# Runs a robot script under Wine on a desktop of its own (Xvfb and openbox):
#   run_robot_test.sh [--locale LOCALE] [--prefix DIR] [--shots DIR] [--expect-failure WORDS]
#                     [--keep-server] ROBOT.EXE SCRIPT [NAME=PROGRAM...]
# Each NAME=PROGRAM replaces $NAME in the script with the program's path as
# Windows sees it. Screenshots go to DIR (default build/screenshots/robot),
# taken from the X server by scripts/screenshot.sh. The locale (default
# en_US.UTF-8) must be a generated one, or Wine silently takes 0x0409.
# --expect-failure checks the robot's failure path instead: the script must
# fail (exit code 1) with WORDS in its reason, the screen printed and the
# program it started ended. --keep-server leaves the prefix's wineserver (and
# the services the program started) running, for the caller to look at the
# machine as the program left it; the caller ends it.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"

locale=en_US.UTF-8
prefix="$VQ_ROOT/build/wine-gui"
shots="$VQ_ROOT/build/screenshots/robot"
expect_failure=""
keep_server=""
while [ $# -gt 0 ]; do
    case "$1" in
    --locale) locale="$2"; shift 2 ;;
    --prefix) prefix="$2"; shift 2 ;;
    --shots) shots="$2"; shift 2 ;;
    --expect-failure) expect_failure="$2"; shift 2 ;;
    --keep-server) keep_server=yes; shift ;;
    *) break ;;
    esac
done
if [ $# -lt 2 ]; then
    echo "usage: $0 [--locale LOCALE] [--prefix DIR] [--shots DIR] ROBOT.EXE SCRIPT [NAME=PROGRAM...]" >&2
    exit 2
fi
robot="$(realpath "$1")"
script_in="$2"
shift 2

# A host path as Wine's drive Z: shows it.
windows_path() { echo "Z:$(realpath "$1" | sed 's|/|\\|g')"; }

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cp "$script_in" "$scratch/script.robot"
for pair in "$@"; do
    name="${pair%%=*}"
    path="$(windows_path "${pair#*=}")"
    # The script's quoting doubles backslashes.
    quoted="${path//\\/\\\\\\\\}"
    sed -i "s|\\\$$name\\b|\"$quoted\"|g" "$scratch/script.robot"
done

export WINEPREFIX="$(realpath -m "$prefix")"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    bash "$VQ_ROOT/scripts/wine-prefix.sh" "$WINEPREFIX" >&2 || exit 1
fi
mkdir -p "$shots"
shots="$(realpath "$shots")"
export LC_ALL="$locale"
bash "$VQ_ROOT/scripts/wine-fonts.sh" "$WINEPREFIX" >&2 || exit 1
echo "run_robot_test: $(basename "$script_in") in $locale, screenshots in $shots"
# Every wait of the robot has its own limit; this one bounds the whole run.
timeout --kill-after=10 900 bash "$VQ_ROOT/scripts/wine-desktop.sh" \
    "$VQ_WINE64" "$robot" --shots "$(windows_path "$VQ_ROOT/scripts/screenshot.sh")" "$shots" \
    "$(windows_path "$scratch/script.robot")" | tee "$scratch/output"
code=${PIPESTATUS[0]}
[ -n "$keep_server" ] || wineserver -k >/dev/null 2>&1
if [ -n "$expect_failure" ]; then
    if [ "$code" -eq 1 ] && grep -q "^robot: FAILED: .*$expect_failure" "$scratch/output" &&
        grep -q '^on screen:' "$scratch/output" &&
        grep -q '^robot: ended the program it started' "$scratch/output"; then
        echo "run_robot_test: the robot failed as it should, with the screen printed"
        exit 0
    fi
    echo "run_robot_test: FAIL: expected exit code 1 for '$expect_failure' with the screen printed, got $code"
    exit 1
fi
exit $code
