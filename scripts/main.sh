#!/usr/bin/env bash
# The main job: installs what is missing, builds the native and both Windows
# builds, runs the status service under Wine's service control manager,
# assembles the installation medium and its ISO image, checks the medium with
# mediacheck, and then installs and removes the sample printer under Wine
# with Setup, driven by the robot as a person would, checking the machine
# from outside after each. Prints how long each step took.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
started=$SECONDS
timings=()

# NAME COMMAND...: one step of the job, timed.
run() {
    local name="$1" begin=$SECONDS
    shift
    echo "main: $name"
    "$@"
    timings+=("$(printf '%5d s  %s' $((SECONDS - begin)) "$name")")
    echo "main: $name took $((SECONDS - begin)) s"
}

build() {
    local preset
    for preset in native win32 win64; do
        echo "main: building $preset"
        cmake --preset "$preset" >/dev/null
        cmake --build --preset "$preset" -j2
    done
}

# mediacheck's findings and summary; warnings (exit code 1) are shown, only a
# medium that Setup would refuse stops the job.
check_medium() {
    local code=0
    build/native/tools/mediacheck/mediacheck build/medium || code=$?
    [ "$code" -le 1 ]
}

# Setup under Wine, step by step: the robot's own command lines are left out,
# its steps, their times and the checks of the machine are shown.
install_and_remove() {
    bash tests/wine/setup_e2e.sh --shots build/screenshots build/medium-wine install removal |
        grep --line-buffered -v -e '^    [0-9]*: ' -e '^    /' -e '^      screenshot ' -e '^      ([0-9]* ms)$'
}

run "installing dependencies" bash scripts/install-deps.sh
run "building native, win32 and win64" build
run "Wine service smoke" bash tests/wine/service_smoke.sh build/win64/statusservice/Statuskeeper.exe
run "assembling the medium and the ISO" bash scripts/build-medium.sh \
    --setup32 build/win32/wizard/Setup.exe --setup64 build/win64/wizard/Setup.exe \
    --statuskeeper32 build/win32/statusservice/Statuskeeper.exe \
    --statuskeeper64 build/win64/statusservice/Statuskeeper.exe --sample tests/medium
run "mediacheck on the medium" check_medium
run "install and removal of Varnoquill under Wine" install_and_remove

echo
echo "main: time of each step"
printf 'main: %s\n' "${timings[@]}"
echo "main: $((SECONDS - started)) s in all"
echo "main: the medium:      $PWD/build/medium"
echo "main: the ISO image:   $PWD/build/Varnoquill-medium.iso"
echo "main: the screenshots: $PWD/build/screenshots/e2e-install, $PWD/build/screenshots/e2e-removal"
