#!/usr/bin/env bash
# scripts/test's parts: a failed part (here a planted failure, as ORVIA_TEST_PLANT_FAILURE
# makes one) neither stops the parts after it nor is lost: the run ends with the lists and
# the tests counted, and fails. A part stops at its first failing step.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
out="$(mktemp)"

# The parts run at the top level of a script of their own, as in scripts/test.
script="$(mktemp)"
trap 'rm -f "$out" "$script"' EXIT
cat >"$script" <<SCRIPT
set -euo pipefail
orvia_log() { echo "log: \$*"; }
source "$root/scripts/lib/parts.sh"
steps() { echo "step one"; false; echo "step two"; }
suite() { echo "100% tests passed, 0 tests failed out of \$1"; }
export ORVIA_TEST_PLANT_FAILURE=x86
orvia_part native suite 7
orvia_part stops steps
orvia_part x86 suite 3
orvia_part x64 suite 5
orvia_part_skip extra "nothing to run it on"
orvia_parts_report
SCRIPT
set +e
bash "$script" >"$out" 2>&1
status=$?
set -e

fail() { echo "parts_test: $*"; cat "$out"; exit 1; }
[ "$status" -ne 0 ] || fail "the run exited 0 with failed parts"
grep -q 'step one' "$out" && ! grep -q 'step two' "$out" || fail "a part went on after a failing step"
grep -qx 'parts passed: native,x64' "$out" || fail "wrong parts passed"
grep -qx 'parts failed: stops,x86' "$out" || fail "wrong parts failed"
grep -qx 'parts skipped: extra (nothing to run it on)' "$out" || fail "the skipped part or its reason is missing"
[ "$(tail -n 1 "$out")" = "tests: 15 passed, 0 failed" ] || fail "the closing line does not count the tests"
echo "parts_test: passed"
