# Sourced by test-wine.sh (and by check-harness.sh, which checks them): how
# a phase of the end-to-end tests comes to its verdict. Every verdict is one
# line, PASS or FAIL; a FAIL line always sets status=1.
source "$(dirname "${BASH_SOURCE[0]}")/e2e-lines.sh"
status=0
where=
[ -n "${NIREVO_EMULATED_MACHINE:-}" ] && where=" (emulated machine)"

# listed_tests NAME: the number of tests the listed line NAME must run, or
# nothing for a line that is not listed.
listed_tests() {
  local entry bits count name
  for entry in "${e2e_lines[@]}"; do
    IFS='|' read -r bits count name <<<"$entry"
    [ "$name" = "$1" ] && { echo "$count"; return; }
  done
}

fail() {
  echo "FAIL  $*"
  status=1
}

# phase NAME PROGRAM ARGUMENT...: runs one suite in the selected prefix. It
# passes when the program passes and ran the number of tests its line is
# listed with, and, where $expect_tools is set, ran the tools from that
# folder.
phase() {
  local name=$1 started=$SECONDS log passed=yes ran count tools slowest expected
  shift
  expected=$(listed_tests "$name")
  log=$(mktemp)
  WINEDEBUG=$wine_errors bounded 1200 "the suite \"$name\" to end" "$wine" "$@" >"$log" 2>&1 || passed=
  ran=$(grep -o '[0-9]* tests\? from [0-9]* test suites\? ran' "$log" | head -n 1 || true)
  count=${ran%% *}
  tools=$(sed -n 's/^tools from: \([^\r]*\)\r\?$/\1/p' "$log" | head -n 1)
  slowest=$(sed -n 's/^slowest player start: \([0-9.]*\) s.*/\1/p' "$log")
  if [ -n "$passed" ] && [ -n "$count" ] && [ "$count" = "$expected" ] &&
     { [ -z "${expect_tools:-}" ] || [ "$tools" = "$expect_tools" ]; }; then
    echo "PASS  $name$where ($ran; slowest player start ${slowest:-?} s; $((SECONDS - started)) s)"
  else
    cat "$log"
    if [ -z "$passed" ]; then
      fail "$name$where"
    elif [ -z "$count" ] || [ "$count" = 0 ]; then
      fail "$name$where: it ran no test"
    elif [ -z "$expected" ]; then
      fail "$name$where: not a line of scripts/e2e-lines.sh"
    elif [ "$count" != "$expected" ]; then
      fail "$name$where: it ran $count tests, not the $expected of its line"
    else
      fail "$name$where: ran the tools from ${tools:-nowhere}, not from $expect_tools"
    fi
  fi
  rm -f "$log"
}

# suite NAME PROGRAM EXCLUDED [ARGUMENT...]: the suite under NT without the
# tests that match EXCLUDED, then its frozen-player tests on a line of their
# own.
frozen='*FrozenPlayer*'
suite() {
  local name=$1 program=$2 excluded="$frozen:Windows98.*"
  [ -z "$3" ] || excluded="$3:$excluded"
  shift 3
  phase "$name" "$program" "$@" --windows=nt --gtest_filter="-$excluded"
  phase "$name: the player stops answering, then answers again" "$program" "$@" --windows=nt \
    --gtest_filter="$frozen"
}

# toolhelp_suite NAME PROGRAM [ARGUMENT...]: what the Windows 98 setting
# changes, run by the copy of the program that the prefix reports as
# Windows 98: the window search walks Toolhelp's process list instead of
# asking PSAPI, so the tests of that search (no player, the player found,
# decoys refused, every call of the walk failing, no handle left, exhausted
# memory along the way, Wine's bare names). The rest finds the window the
# same way on either path, and the tools run as programs of their own.
toolhelp_tests='ModuleTest.PlayerNotRunning:ModuleTest.TransportCommandsReachThePlayer'
toolhelp_tests+=':ModuleTest.DecoyWindowsAreNotThePlayer:ModuleTest.NoHandleOrLibraryIsLeftBehind'
toolhelp_tests+=':ModuleTest.ExhaustedMemoryAnswersTheFallback:FaultsTest.*:Windows98.*:Setting.*'
toolhelp_suite() {
  local name=$1 program=$2
  shift 2
  phase "$name" "$program" "$@" --windows=98 --gtest_filter="$toolhelp_tests"
}

# emulated_verdict STATUS: the verdict on the 32-bit phases from the exit
# status of the emulated machine that ran them.
emulated_verdict() {
  case $1 in
    0) ;;
    125) fail "the 32-bit phases (emulated machine): the machine failed, as said above" ;;
    *) fail "the 32-bit phases (emulated machine): they ended with status $1" ;;
  esac
}

# e2e_verdict LOG: the end-to-end part's verdict from all it printed: no
# FAIL line, and each listed line's PASS line with its number of tests,
# marked as run in the emulated machine where this machine's kernel runs no
# 32-bit code. A line that is missing is named on a FAIL line of its own.
e2e_verdict() {
  local log=$1 entry bits count name mark emulated= verdict=0
  runs_32bit || emulated=" (emulated machine)"
  if grep -q $'^\r*FAIL  ' "$log"; then verdict=1; fi
  for entry in "${e2e_lines[@]}"; do
    IFS='|' read -r bits count name <<<"$entry"
    mark=
    [ "$bits" = 32 ] && mark=$emulated
    if ! grep -qF "PASS  $name$mark ($count test" "$log"; then
      echo "FAIL  $name$mark: no PASS line with its $count tests"
      verdict=1
    fi
  done
  return "$verdict"
}

# The time the emulated machine may take: what is left before the test
# command's deadline (NIREVO_DEADLINE, set by scripts/test.sh within CI's
# limit) once the parts that follow have their share; an hour without one.
emulated_timeout() {
  local after=600 left
  [ -n "${NIREVO_DEADLINE:-}" ] || { echo 3600; return; }
  left=$((NIREVO_DEADLINE - $(date +%s) - after))
  echo $((left > 600 ? left : 600))
}
