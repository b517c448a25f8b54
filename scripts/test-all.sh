#!/usr/bin/env bash
# The one command that runs every test: dependencies, the native build under
# AddressSanitizer and UBSan with its tests, both Windows builds with their
# tests under Wine, the shipped programs' checks and the Wine service smoke.
# Ends with "N passed, N failed" and fails when any step failed.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/wine-env.sh
export CTEST_OUTPUT_ON_FAILURE=1
jobs=2
passed=0
failed=0
skipped=()
failures=()
started=$SECONDS

# Runs one step; its output goes to the log and is shown on failure.
step() {
    local name="$1"
    shift
    local log="build/logs/${name// /_}.log" begin=$SECONDS
    mkdir -p build/logs
    echo "==> $name"
    if "$@" >"$log" 2>&1 </dev/null; then
        passed=$((passed + 1))
        echo "    passed ($((SECONDS - begin)) s)"
    else
        failed=$((${#failures[@]} + 1))
        failures+=("$name")
        echo "    FAILED ($((SECONDS - begin)) s); last lines of $log:"
        tail -n 40 "$log" | sed 's/^/    | /'
    fi
}

skip() {
    echo "==> $1"
    echo "    skipped: $2"
    skipped+=("$1")
}

configure_and_build() { cmake --preset "$1" && cmake --build --preset "$1" -j"$jobs"; }
cross_tests() { ctest --test-dir "build/$1" -j1 --timeout 600; }

step "install dependencies" bash scripts/install-deps.sh
step "native-asan build" configure_and_build native-asan
step "native-asan tests" ctest --preset native-asan -j"$jobs"
step "win32 build" configure_and_build win32
step "win64 build" configure_and_build win64
step "win64 tests under Wine" cross_tests win64
if vq_host_runs_32bit; then
    step "win32 tests under Wine" cross_tests win32
else
    skip "win32 tests under Wine" "this host's kernel does not run 32-bit programs"
fi

statuskeeper=build/win64/statusservice/Statuskeeper.exe
setup=build/win64/wizard/Setup.exe
step "check binaries" bash tests/wine/check_binaries.sh "$statuskeeper" build/win32/statusservice/Statuskeeper.exe
step "Setup's binary check" bash tests/wine/check_setup_binary.sh build/win32/wizard/Setup.exe "$setup"
step "Wine service smoke" bash tests/wine/service_smoke.sh "$statuskeeper"
step "Wine engine test" bash tests/wine/engine_test.sh build/win64/tests/wine/engine/vq_engine_wine_check.exe "$statuskeeper"
step "Setup under Wine" bash tests/wine/with-display.sh bash tests/wine/setup_smoke.sh "$setup"
step "the medium and its ISO" bash scripts/build-medium.sh --setup32 build/win32/wizard/Setup.exe \
    --setup64 "$setup" --statuskeeper32 build/win32/statusservice/Statuskeeper.exe \
    --statuskeeper64 "$statuskeeper" --sample tests/medium
step "Setup's pages and message boxes under Wine (ja, en, zh)" bash tests/wine/setup_pages.sh build/medium-wine
step "Setup's start-up time under Wine" bash tests/wine/setup_startup_time.sh build/medium-wine 7

step "Wine locales from LC_ALL" bash tests/wine/locale_check.sh build/win64/tests/robot/FixtureDialog.exe
step "robot drives the fixture dialog under Wine" bash tests/robot/run_robot_test.sh --locale ja_JP.UTF-8 \
    build/win64/tests/robot/Robot.exe tests/robot/fixture.robot FIXTURE=build/win64/tests/robot/FixtureDialog.exe
step "robot reports failures with the screen" bash tests/robot/robot_failures.sh build/win64
step "Setup's binary check, on good and faulty programs" bash tests/wine/check_setup_binary_test.sh build/win32 build/win64
step "medium assembly on a stand-in medium" bash tests/packaging/build_medium_test.sh build/win32 build/win64
step "xmlinspect native and under Wine" bash tests/wine/xmlinspect_compare.sh build/native-asan build/win64
step "mediacheck native and under Wine" bash tests/wine/mediacheck_compare.sh build/native-asan build/win64
step "mediacheck over the built medium, native and under Wine" \
    bash tests/wine/mediacheck_compare.sh build/native-asan build/win64 build/medium
step "Setup end to end under Wine" bash tests/wine/setup_e2e.sh build/medium-wine
step "fuzz run (60 s)" bash tests/fuzz/run.sh 60

echo
echo "took $((SECONDS - started)) s"
list() { local IFS=','; echo "$*" | sed 's/,/, /g'; }
[ ${#skipped[@]} -eq 0 ] || echo "skipped: $(list "${skipped[@]}")"
[ ${#failures[@]} -eq 0 ] || echo "failed: $(list "${failures[@]}")"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
