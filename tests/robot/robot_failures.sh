#!/usr/bin/env bash
# The robot's failure path on the fixture dialog: a wrong expectation fails
# within its time limit, and a click on a disabled button is refused; each
# prints the screen, keeps a screenshot and ends the program.
#   robot_failures.sh BUILD64
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="${1:?usage: $0 BUILD64}"
failures=0
for pair in "fixture-failure.robot|is \"ready\", not \"something else\" (waited 1500 ms)" \
    "fixture-disabled.robot|control 1000 is disabled"; do
    script="${pair%%|*}"
    words="${pair#*|}"
    bash "$here/run_robot_test.sh" --expect-failure "$words" \
        --shots "$here/../../build/screenshots/robot-${script%.robot}" "$build/tests/robot/Robot.exe" \
        "$here/$script" FIXTURE="$build/tests/robot/FixtureDialog.exe" || failures=$((failures + 1))
done
[ "$failures" -eq 0 ]
