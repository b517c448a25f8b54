# A click on a disabled button must be refused, as a person cannot make it:
# run with --expect-failure.
start $FIXTURE
wait-window "Robot Fixture" 30000
click 1000
wait-exit 2
