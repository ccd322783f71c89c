# The parts of scripts/test. Each part runs whatever came before it failed; its result is
# kept, and orvia_parts_report closes the run with what ran, what was skipped and why, and
# the tests counted, then fails when any part failed. Source it.
#
# ORVIA_TEST_PLANT_FAILURE=<part> makes that part count as failed after it ran: it shows
# that a failure in one part neither stops the parts after it nor is lost at the end.

ORVIA_PARTS_PASSED=()
ORVIA_PARTS_FAILED=()
ORVIA_PARTS_SKIPPED=()
ORVIA_TESTS_PASSED=0
ORVIA_TESTS_FAILED=0
ORVIA_PARTS_LOGS="$(mktemp -d -t orvia-parts.XXXXXX)"

# orvia_part NAME COMMAND...: runs COMMAND (a function or a program) in a subshell that
# stops at its first failing step, shows its output and keeps the result. Call it at the top
# level of a script under set -e: inside an if, || or && bash ignores set -e altogether,
# and a part would then go on past a failing step.
orvia_part() {
    local name="$1" status=0 errexit=""
    shift
    orvia_log "part: $name"
    [[ $- == *e* ]] && errexit=yes
    set +e
    # The subshell is no operand of || or &&, so set -e holds inside it.
    ( set -e; "$@" ) 2>&1 | tee "$ORVIA_PARTS_LOGS/$name.log"
    status=${PIPESTATUS[0]}
    [ -n "$errexit" ] && set -e
    if [ "$status" -eq 0 ] && [ "${ORVIA_TEST_PLANT_FAILURE:-}" = "$name" ]; then
        orvia_log "part $name: a failure planted by ORVIA_TEST_PLANT_FAILURE"
        status=1
    fi
    orvia_count_tests "$ORVIA_PARTS_LOGS/$name.log"
    if [ "$status" -eq 0 ]; then
        ORVIA_PARTS_PASSED+=("$name")
    else
        ORVIA_PARTS_FAILED+=("$name")
        orvia_log "part $name failed (exit $status); the parts after it still run"
    fi
    return 0
}

# orvia_part_skip NAME WHY
orvia_part_skip() {
    ORVIA_PARTS_SKIPPED+=("$1 ($2)")
    orvia_log "part $1 skipped: $2"
}

# Whether part NAME has failed so far.
orvia_part_failed() { [[ " ${ORVIA_PARTS_FAILED[*]} " == *" $1 "* ]]; }

# Adds up ctest's closing lines ("97% tests passed, 2 tests failed out of 80") in a log.
orvia_count_tests() {
    local counts
    counts="$(awk '/% tests passed, [0-9]+ tests? failed out of [0-9]+/ {
                       failed += $4; total += $NF } END { printf "%d %d", total - failed, failed }' "$1")"
    ORVIA_TESTS_PASSED=$((ORVIA_TESTS_PASSED + ${counts% *}))
    ORVIA_TESTS_FAILED=$((ORVIA_TESTS_FAILED + ${counts#* }))
}

# The closing lines; fails when a part failed.
orvia_parts_report() {
    local IFS=,
    echo
    echo "parts passed: ${ORVIA_PARTS_PASSED[*]:-none}"
    echo "parts failed: ${ORVIA_PARTS_FAILED[*]:-none}"
    echo "parts skipped: ${ORVIA_PARTS_SKIPPED[*]:-none}"
    echo "tests: $ORVIA_TESTS_PASSED passed, $ORVIA_TESTS_FAILED failed"
    rm -rf -- "$ORVIA_PARTS_LOGS"
    [ ${#ORVIA_PARTS_FAILED[@]} -eq 0 ]
}
