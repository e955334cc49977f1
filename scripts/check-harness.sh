#!/usr/bin/env bash
# The end-to-end harness's own verdicts can fail: a phase that fails, runs no
# test, runs another number of tests than its line is listed with or other
# tools than it must is a FAIL line and status 1; so is a failed emulated
# machine; the test command's reading of the whole log wants every listed
# line; the bounds scale, Wine runs with a fixed address layout, and the
# emulated machine's time-out follows the deadline; a prefix Wine leaves
# without its system is refused and made once more, a warm-up that fails
# is tried again in a new Wine server, up to three times; and the emulated
# machine's exit status is its own command's, never a stale or missing one.
# Quick: one 64-bit suite filtered to a test that needs no player,
# stand-ins for Wine where Wine must fail, and two boots of the emulated
# machine where the tests use it. Expects the Windows builds.
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

# This check's own lines, with the numbers of tests they must run.
e2e_lines=("64|1|a passing phase" "64|1|other tools" "64|2|a phase of the wrong number")

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
verdict 1 "FAIL  a phase of the wrong number: it ran 1 tests, not the 2 of its line" \
  phase "a phase of the wrong number" "$program" "$plain" --gtest_filter='PlainNames.*'
verdict 1 "FAIL  a phase not listed: not a line of scripts/e2e-lines.sh" \
  phase "a phase not listed" "$program" "$plain" --gtest_filter='PlainNames.*'
expect_tools='Z:\elsewhere'
verdict 1 "FAIL  other tools: ran the tools from ${tools//\\/?}, not from Z:?elsewhere" \
  phase "other tools" "$program" "$plain" --gtest_filter='PlainNames.*'
expect_tools=
verdict 0 "" emulated_verdict 0
verdict 1 "FAIL  the 32-bit phases (emulated machine): they ended with status 3" emulated_verdict 3
verdict 1 "FAIL  the 32-bit phases (emulated machine): the machine failed*" emulated_verdict 125
"$wineserver" -k 2>/dev/null || true

# The test command's reading of the end-to-end part's whole output (its
# e2e_verdict): green only with every listed line's PASS line.
source "$root/scripts/e2e-lines.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"; stop_wine' EXIT
mark=
runs_32bit || mark=" (emulated machine)"
for entry in "${e2e_lines[@]}"; do
  IFS='|' read -r bits count name <<<"$entry"
  line_mark=
  [ "$bits" = 32 ] && line_mark=$mark
  echo "PASS  $name$line_mark ($count tests from 3 test suites ran; slowest player start 0.1 s; 5 s)"
done >"$work/whole.log"
read_log() { (e2e_verdict "$1"; echo "status=$?") 2>&1 | tail -n 2 | tr '\n' ' '; }
said=$(read_log "$work/whole.log")
[ "$said" = "status=0 " ] || problem "a log with every line was read as: $said"
IFS='|' read -r bits count name <<<"${e2e_lines[1]}"
grep -vF "PASS  $name" "$work/whole.log" >"$work/lost.log"
said=$(read_log "$work/lost.log")
[[ $said == "FAIL  $name"*": no PASS line with its $count tests status=1 " ]] ||
  problem "a log without the line \"$name\" was read as: $said"
sed "2s/($count tests/($((count + 1)) tests/" "$work/whole.log" >"$work/more.log"
said=$(read_log "$work/more.log")
[[ $said == *"status=1 " ]] || problem "a line that ran another number of tests was read as: $said"
{ cat "$work/whole.log"; printf '\rFAIL  something else\n'; } >"$work/failed.log"
said=$(read_log "$work/failed.log")
[ "$said" = "status=1 " ] || problem "a log with a FAIL line was read as: $said"

# The emulated machine's time-out: all that is left before the deadline but
# ten minutes, at least ten minutes, an hour without a deadline.
now=$(date +%s)
for case in "4000 3400" "100 600" "- 3600"; do
  read -r ahead want <<<"$case"
  deadline=
  [ "$ahead" = - ] || deadline=$((now + ahead))
  got=$(NIREVO_DEADLINE=$deadline emulated_timeout)
  [ $((got - want)) -le 0 ] && [ $((want - got)) -le 2 ] ||
    problem "with a deadline ${ahead} s ahead the emulated machine may take $got s, not $want"
done

# A bound in the emulated machine is three times as long, and says so.
said=$(wait_scale=3 bounded 1 "a sleeper" sleep 60) && got=0 || got=$?
[ "$got" = 124 ] && [[ $said == "waited for a sleeper: gave up after "[0-9]*" s (bound 3 s)" ]] ||
  problem "a bound of 1 s scaled by 3 gave status $got and: $said"

# Wine runs with the address layout fixed (ADDR_NO_RANDOMIZE, 0x0040000),
# and the programs it starts inherit it.
said=$(NIREVO_WINE_LOADER=/bin/sh "$wine" -c 'cat /proc/self/personality' 2>&1) || true
[[ $said =~ ^[0-9a-f]{8}$ ]] && (( 0x$said & 0x0040000 )) || problem "Wine would run with its address layout randomized: personality $said"

# Stand-ins for Wine's programs: each logs its call; WINE_STUB_BOOT says
# what wineboot leaves (a whole prefix, or system32 with an empty
# registry), WINE_STUB_WARMUPS how many warm-ups fail before one passes.
cat >"$work/wine" <<'STUB'
#!/usr/bin/env bash
echo "$*" >>"$WINEPREFIX/../calls"
windows=$WINEPREFIX/drive_c/windows
case "$1 $2" in
  "wineboot --init")
    mkdir -p "$windows/system32" "$windows/syswow64"
    touch "$windows/system32/kernel32.dll" "$windows/syswow64/kernel32.dll" "$WINEPREFIX/system.reg"
    exit 53 ;;
  "reg import")
    printf '"Managed"="N"\n"Version"="win98"\n' >"$WINEPREFIX/user.reg"
    [ "$WINE_STUB_BOOT" != whole ] || echo '"ServicesPipeTimeout"=dword:000927c0' >"$WINEPREFIX/system.reg" ;;
  "--version") echo "wine-stub" ;;
  *) failed=$(grep -c -- --warm-up "$WINEPREFIX/../calls")
     [ "$failed" -gt "${WINE_STUB_WARMUPS:-0}" ] || { echo "no window: a stand-in"; exit 1; }
     echo "warm-up: the player's window came after 0.1 s" ;;
esac
STUB
printf '#!/bin/sh\necho "wineserver $*" >>"$WINEPREFIX/../calls"\n' >"$work/wineserver"
chmod +x "$work/wine" "$work/wineserver"
touch "$work/winamp.exe"
stubbed() {  # stubbed BOOT WARM-UPS FUNCTION...: a function of wine-env.sh run with the stand-ins
  rm -rf "$work/prefix" "$work/calls"
  mkdir -p "$work/prefix"
  (export WINE_STUB_BOOT=$1 WINE_STUB_WARMUPS=$2 WINEPREFIX=$work/prefix WINEARCH=win32
   wine=$work/wine wineserver=$work/wineserver wine_logs=$work/logs i686_build=$work
   shift 2
   "$@"
   echo "status=$?") 2>&1
}
# wineboot's status (53 here) judges nothing; the prefix it leaves does.
said=$(stubbed whole 0 make_prefix)
[ "${said##*status=}" = 0 ] || problem "a whole prefix after wineboot's status 53 was refused: $said"
said=$(stubbed empty 0 prepare_prefix)
[ "${said##*status=}" = 1 ] && [[ $said == *"lacks a whole system.reg"* ]] &&
  [ "$(grep -c 'wineboot --init' "$work/calls")" = 2 ] && [[ $said == *"once more"* ]] ||
  problem "a prefix left with an empty system.reg was not refused and made once more: $said"
# A warm-up that fails is tried again in a new Wine server (a desktop that
# came up broken stays broken in its server), up to three times; a third
# failure leaves the prefix not to be kept.
said=$(stubbed whole 2 ready_prefix program)
[ "${said##*status=}" = 0 ] && [[ $said == *"at try 2; trying once more in a new Wine server"* ]] &&
  [ "$(grep -c -- --warm-up "$work/calls")" = 3 ] &&
  [ "$(awk '/--warm-up/ && ended { fresh++ } /--warm-up/ { ended = 0 }
             /^wineserver -k/ { ended = 1 } END { print fresh + 0 }' "$work/calls")" = 3 ] ||
  problem "a warm-up that failed twice was not tried a third time, each in a new server: $said"
never_starts() {
  touch "$WINEPREFIX/.nirevo-recipe"
  ready_prefix program && return 0
  [ ! -e "$WINEPREFIX/.nirevo-recipe" ] || echo "the prefix is kept"
  return 1
}
said=$(stubbed whole 3 never_starts)
[ "${said##*status=}" = 1 ] && [[ $said != *"the prefix is kept"* ]] ||
  problem "a prefix whose first player never started was kept or passed: $said"

emulated_checks="not needed: this machine's kernel runs 32-bit code"
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
  emulated_checks="ran"
fi
# Where the tests use the emulated machine, its checks must have run.
runs_32bit || [ "$emulated_checks" = ran ] || problem "the emulated machine's checks did not run"

if [ "$problems" != 0 ]; then
  echo "FAIL  the end-to-end harness: $problems of its verdicts are wrong, as said above"
  exit 1
fi
echo "PASS  the end-to-end harness: its verdicts fail where they must (the emulated machine's checks: $emulated_checks)"
