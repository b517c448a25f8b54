#!/usr/bin/env bash
# Runs a robot script under Wine on a desktop of its own (Xvfb and openbox):
#   run_robot_test.sh [--locale LOCALE] [--prefix DIR] [--shots DIR] ROBOT.EXE SCRIPT [NAME=PROGRAM...]
# Each NAME=PROGRAM replaces $NAME in the script with the program's path as
# Windows sees it. Screenshots go to DIR (default build/screenshots/robot),
# taken from the X server by scripts/screenshot.sh. The locale (default
# en_US.UTF-8) must be a generated one, or Wine silently takes 0x0409.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/wine-env.sh"

locale=en_US.UTF-8
prefix="$VQ_ROOT/build/wine-gui"
shots="$VQ_ROOT/build/screenshots/robot"
while [ $# -gt 0 ]; do
    case "$1" in
    --locale) locale="$2"; shift 2 ;;
    --prefix) prefix="$2"; shift 2 ;;
    --shots) shots="$2"; shift 2 ;;
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

export WINEPREFIX="$prefix"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    bash "$VQ_ROOT/scripts/wine-prefix.sh" "$WINEPREFIX" >&2 || exit 1
    bash "$VQ_ROOT/scripts/wine-fonts.sh" "$WINEPREFIX" >&2 || exit 1
fi
mkdir -p "$shots"
export LC_ALL="$locale"
echo "run_robot_test: $(basename "$script_in") in $locale, screenshots in $shots"
bash "$VQ_ROOT/scripts/wine-desktop.sh" \
    "$VQ_WINE64" "$robot" --shots "$(windows_path "$VQ_ROOT/scripts/screenshot.sh")" "$shots" \
    "$(windows_path "$scratch/script.robot")"
code=$?
wineserver -k >/dev/null 2>&1
exit $code
