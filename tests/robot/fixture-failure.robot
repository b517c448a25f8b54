# A wrong expectation must fail within its time limit, print what is on
# screen and end the fixture: run with --expect-failure.
start $FIXTURE
wait-window "Robot Fixture" 30000
expect-text 1003 "something else" 1500
click 2
wait-exit 2
