#!/usr/bin/env bash
# The module driven for real under Wine: the end-to-end suite loaded by a real
# host against the stand-in player in a process of its own, in the
# configurations that users meet. Each phase prints one line with its result;
# the phases that need 32-bit code run in the emulated machine
# (scripts/emulated-machine/run.sh) where this machine's kernel runs none.
# Expects the Windows builds (scripts/test.sh makes them).
#   test-wine.sh              every phase
#   test-wine.sh --only-32bit the phases that need 32-bit code, here
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
on_virtual_display "$0" "$@"

status=0
where=
[ -n "${NIREVO_EMULATED_MACHINE:-}" ] && where=" (emulated machine)"
log=$(mktemp)
trap 'stop_wine; rm -f "$log"' EXIT

# phase NAME PROGRAM ARGUMENT...: runs one suite in the selected prefix; a
# filter that leaves no test fails too.
phase() {
  local name=$1
  shift
  local ran
  if "$wine" "$@" >"$log" 2>&1 &&
     ran=$(grep -o '[0-9]* tests\? from [0-9]* test suites\? ran' "$log" | head -n 1) &&
     [ "${ran%% *}" != 0 ]; then
    echo "PASS  $name$where ($ran)"
  else
    cat "$log"
    echo "FAIL  $name$where"
    status=1
  fi
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

shipped=$(windows_path "$i686_build/nirevo.dll")
shipped_plain=$(windows_path "$i686_plain_build/nirevo.dll")
shipped_tools=$(windows_path "$i686_build")
plain_64=$(windows_path "$x86_64_plain_build/nirevo.dll")
# Titles above 4 GiB need a 64-bit player.
not_high='*TitlesAboveFourGibibytes*'

# The shipped DLL, saori-call and nirevo-check in the 32-bit prefix, and the
# 32-bit player beside a 64-bit host.
phases_32bit() {
  use_prefix 32
  prepare_prefix
  cp "$i686_tests_build/nirevo_e2e.exe" "$i686_tests_build/nirevo_e2e_win98.exe"
  report_windows98 nirevo_e2e_win98.exe
  suite "32-bit host, shipped 32-bit DLL, 32-bit player, NT (PSAPI)" \
    "$i686_tests_build/nirevo_e2e.exe" "$not_high:Windows98.*" \
    --module="$shipped" --plain-dll="$shipped_plain" --tools="$shipped_tools"
  suite "32-bit host, shipped 32-bit DLL, 32-bit player, Windows 98 (Toolhelp)" \
    "$i686_tests_build/nirevo_e2e_win98.exe" "$not_high:PlainNames.*" \
    --module="$shipped" --tools="$shipped_tools"
  "$wineserver" -k 2>/dev/null || true

  use_prefix 64
  prepare_prefix
  suite "64-bit host, 64-bit DLL, 32-bit player in Program Files (x86), NT (PSAPI)" \
    "$x86_64_build/nirevo_e2e.exe" "$not_high:Windows98.*" \
    --player='C:\Program Files (x86)\Winamp\winamp.exe' --plain-dll="$plain_64"
  "$wineserver" -k 2>/dev/null || true
}

phases_64bit() {
  use_prefix 64
  prepare_prefix
  cp "$x86_64_build/nirevo_e2e.exe" "$x86_64_build/nirevo_e2e_win98.exe"
  report_windows98 nirevo_e2e_win98.exe
  suite "64-bit host, 64-bit DLL, 64-bit player with titles above 4 GiB, NT (PSAPI)" \
    "$x86_64_build/nirevo_e2e.exe" "Windows98.*" --plain-dll="$plain_64"
  suite "64-bit host, 64-bit DLL, 64-bit player, Windows 98 (Toolhelp)" \
    "$x86_64_build/nirevo_e2e_win98.exe" "$not_high:PlainNames.*"
  "$wineserver" -k 2>/dev/null || true
}

if [ "${1:-}" = --only-32bit ]; then
  phases_32bit
elif runs_32bit; then
  phases_32bit
  phases_64bit
else
  phases_64bit
  # Both machines use the same prefixes, one after the other.
  stop_wine
  started=$SECONDS
  echo "32-bit phases: this machine's kernel runs no 32-bit code; booting the emulated machine"
  emulated=0
  "$root/scripts/emulated-machine/run.sh" --timeout 2700 scripts/test-wine.sh --only-32bit || emulated=$?
  case $emulated in
    0) ;;
    125) echo "FAIL  the 32-bit phases (emulated machine): the machine failed, as said above"; status=1 ;;
    *) echo "FAIL  the 32-bit phases (emulated machine): they ended with status $emulated"; status=1 ;;
  esac
  echo "32-bit phases in the emulated machine: $((SECONDS - started)) s"
fi
exit $status
