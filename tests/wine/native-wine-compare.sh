# Sourced by the scripts that run one tool natively and under Wine on the same
# input and check that the two print the same, exit status included. The
# sourcing script defines normalise (a filter masking what the machines may
# legitimately word differently) and then calls compare for each case.

# vq_compare_programs NATIVE-PROGRAM WINDOWS-PROGRAM
vq_compare_programs() {
    native="$1"
    exe="$2"
    local program
    for program in "$native" "$exe"; do
        if [ ! -f "$program" ]; then
            echo "$0: $program is not built" >&2
            exit 2
        fi
    done
    source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"
    wine="$(vq_loader_for "$exe")"
    failures=0
}

run_native() {
    "$native" "$@" 2>/dev/null
    echo "exit: $?"
}

# Host paths become Z: paths, which Wine maps onto the host's /.
run_wine() {
    local args=() arg
    for arg in "$@"; do
        case "$arg" in
        /*) args+=("Z:${arg//\//\\}") ;;
        *) args+=("$arg") ;;
        esac
    done
    # ANSI code page 1252 under Wine, as on the simulated machine.
    env LANG=en_US.UTF-8 LC_ALL= "$wine" "$exe" "${args[@]}" 2>/dev/null
    echo "exit: $?"
}

# compare LABEL ARGUMENT...: both outputs stay in compared_native and
# compared_wine for further checks.
compare() {
    local label="$1"
    shift
    compared_native="$(run_native "$@" | normalise)"
    compared_wine="$(run_wine "$@" | normalise)"
    if [ "$compared_native" == "$compared_wine" ]; then
        echo "same: $label ($(echo "$compared_native" | tail -n 1))"
    else
        echo "DIFFERENT: $label"
        diff <(echo "$compared_native") <(echo "$compared_wine") | sed 's/^/    /'
        failures=$((failures + 1))
    fi
}

vq_compare_finish() {
    if [ "$failures" -ne 0 ]; then
        echo "$failures comparison(s) differ"
        exit 1
    fi
    echo "all comparisons agree"
}
