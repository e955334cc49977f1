#!/usr/bin/env bash
# The end-to-end harness's own verdicts can fail: a phase that fails, runs no
# test or runs other tools than it must is a FAIL line and status 1; so is a
# failed emulated machine; and the emulated machine's exit status is its own
# command's, never a stale or missing one. Quick: one 64-bit suite filtered
# to a test that needs no player, and two boots of the emulated machine
# where the tests use it. Expects the Windows builds.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
on_virtual_display "$0" "$@"
source "$root/scripts/wine-phases.sh"

problems=0
problem() {
  echo "harness: $*"
  problems=$((problems + 1))
}

# verdict EXPECTED_STATUS PATTERN COMMAND...: runs COMMAND (a function of
# wine-phases.sh) in a subshell from status 0; its status and output must
# be as expected.
verdict() {
  local expected=$1 pattern=$2 result got last
  shift 2
  result=$( (status=0; "$@"; echo "status=$status") 2>&1)
  got=${result##*status=}
  last=$(printf '%s\n' "$result" | grep -v '^status=' | tail -n 1 || true)
  [ "$got" = "$expected" ] || problem "$*: status $got, not $expected"
  # shellcheck disable=SC2053 # the pattern is a pattern
  [[ $last == $pattern ]] || problem "$*: its last line \"$last\" is not \"$pattern\""
}

use_prefix 64
prepare_prefix >/dev/null
program=$x86_64_build/nirevo_e2e.exe
plain=--plain-dll=$(windows_path "$x86_64_plain_build/nirevo.dll")
tools=$(windows_path "$x86_64_build")
expect_tools=
verdict 0 "PASS  a passing phase (*" phase "a passing phase" "$program" "$plain" --gtest_filter='PlainNames.*'
verdict 1 "FAIL  a phase of no test: it ran no test" \
  phase "a phase of no test" "$program" --gtest_filter='NoSuchTest.*'
verdict 1 "FAIL  a failing program*" phase "a failing program" "$program" --no-such-option
expect_tools='Z:\elsewhere'
verdict 1 "FAIL  other tools: ran the tools from ${tools//\\/?}, not from Z:?elsewhere" \
  phase "other tools" "$program" "$plain" --gtest_filter='PlainNames.*'
expect_tools=
verdict 0 "" emulated_verdict 0
verdict 1 "FAIL  the 32-bit phases (emulated machine): they ended with status 3" emulated_verdict 3
verdict 1 "FAIL  the 32-bit phases (emulated machine): the machine failed*" emulated_verdict 125
"$wineserver" -k 2>/dev/null || true

if ! runs_32bit; then
  # The guest's status is its command's; a guest that powers off without
  # reporting is 125, though the run before it left a status file.
  got=0
  "$root/scripts/emulated-machine/run.sh" --timeout 600 bash -c 'exit 3' >/dev/null 2>&1 || got=$?
  [ "$got" = 3 ] || problem "a guest whose command exits 3 made run.sh exit $got"
  got=0
  said=$("$root/scripts/emulated-machine/run.sh" --timeout 600 \
           bash -c 'echo o >/proc/sysrq-trigger; sleep 600' 2>&1 >/dev/null) || got=$?
  [ "$got" = 125 ] || problem "a guest that never reported made run.sh exit $got, not 125"
  [[ $said == *"the guest ended without reporting an exit status"* ]] ||
    problem "a guest that never reported was explained as: $said"
fi

if [ "$problems" != 0 ]; then
  echo "FAIL  the end-to-end harness: $problems of its verdicts are wrong, as said above"
  exit 1
fi
echo "PASS  the end-to-end harness: its verdicts fail where they must"
