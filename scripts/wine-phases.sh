# Sourced by test-wine.sh (and by check-harness.sh, which checks them): how
# a phase of the end-to-end tests comes to its verdict. Every verdict is one
# line, PASS or FAIL; a FAIL line always sets status=1.
status=0
where=
[ -n "${NIREVO_EMULATED_MACHINE:-}" ] && where=" (emulated machine)"

fail() {
  echo "FAIL  $*"
  status=1
}

# phase NAME PROGRAM ARGUMENT...: runs one suite in the selected prefix. It
# passes when the program passes and ran at least one test, and, where
# $expect_tools is set, ran the tools from that folder.
phase() {
  local name=$1 started=$SECONDS log passed=yes ran tools slowest
  shift
  log=$(mktemp)
  WINEDEBUG=$wine_errors bounded 1200 "the suite \"$name\" to end" "$wine" "$@" >"$log" 2>&1 || passed=
  ran=$(grep -o '[0-9]* tests\? from [0-9]* test suites\? ran' "$log" | head -n 1 || true)
  tools=$(sed -n 's/^tools from: \([^\r]*\)\r\?$/\1/p' "$log" | head -n 1)
  slowest=$(sed -n 's/^slowest player start: \([0-9.]*\) s.*/\1/p' "$log")
  if [ -n "$passed" ] && [ -n "$ran" ] && [ "${ran%% *}" != 0 ] &&
     { [ -z "${expect_tools:-}" ] || [ "$tools" = "$expect_tools" ]; }; then
    echo "PASS  $name$where ($ran; slowest player start ${slowest:-?} s; $((SECONDS - started)) s)"
  else
    cat "$log"
    if [ -z "$passed" ]; then
      fail "$name$where"
    elif [ -z "$ran" ] || [ "${ran%% *}" = 0 ]; then
      fail "$name$where: it ran no test"
    else
      fail "$name$where: ran the tools from ${tools:-nowhere}, not from $expect_tools"
    fi
  fi
  rm -f "$log"
}

# suite NAME PROGRAM EXCLUDED [ARGUMENT...]: the suite without the tests
# that match EXCLUDED, then its frozen-player tests on a line of their own.
frozen='*FrozenPlayer*'
suite() {
  local name=$1 program=$2 excluded=$3
  shift 3
  phase "$name" "$program" "$@" --gtest_filter="-$excluded:$frozen"
  phase "$name: the player stops answering, then answers again" "$program" "$@" \
    --gtest_filter="$frozen"
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
