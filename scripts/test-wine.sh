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

source "$root/scripts/wine-phases.sh"
trap stop_wine EXIT

shipped=$(windows_path "$i686_build/nirevo.dll")
shipped_plain=$(windows_path "$i686_plain_build/nirevo.dll")
shipped_tools=$(windows_path "$i686_build")
plain_64=$(windows_path "$x86_64_plain_build/nirevo.dll")
# Titles above 4 GiB need a 64-bit player.
not_high='*TitlesAboveFourGibibytes*'
player_x86='C:\Program Files (x86)\Winamp\winamp.exe'

# The shipped DLL, saori-call and nirevo-check in the 32-bit prefix. These
# lines run the very tools the zip ships (scripts/test.sh compares the zip's
# with these).
phases_32bit_host() {
  use_prefix 32
  ready_prefix "$i686_tests_build/nirevo_e2e.exe" ||
    { fail "the 32-bit prefix$where starts no player"; return; }
  # The prefix reports this copy's Windows as Windows 98 (prefix_settings).
  cp "$i686_tests_build/nirevo_e2e.exe" "$i686_tests_build/nirevo_e2e_win98.exe"
  expect_tools=$shipped_tools
  suite "32-bit host, shipped 32-bit DLL, 32-bit player, NT (PSAPI)" \
    "$i686_tests_build/nirevo_e2e.exe" "$not_high" \
    --module="$shipped" --plain-dll="$shipped_plain" --tools="$shipped_tools"
  toolhelp_suite "32-bit host, shipped 32-bit DLL, 32-bit player, Windows 98 (Toolhelp)" \
    "$i686_tests_build/nirevo_e2e_win98.exe" --module="$shipped" --tools="$shipped_tools"
  expect_tools=
  "$wineserver" -k 2>/dev/null || true
}

# The 32-bit player beside a 64-bit host.
phases_32bit_player() {
  use_prefix 64
  ready_prefix "$x86_64_build/nirevo_e2e.exe" --player="$player_x86" ||
    { fail "the 64-bit prefix$where starts no 32-bit player"; return; }
  suite "64-bit host, 64-bit DLL, 32-bit player in Program Files (x86), NT (PSAPI)" \
    "$x86_64_build/nirevo_e2e.exe" "$not_high" --player="$player_x86" --plain-dll="$plain_64"
  "$wineserver" -k 2>/dev/null || true
}

# Both prefixes made at once, each one's lines started as soon as it is
# ready: each prefix has a Wine server, and so a desktop, of its own, and
# the emulated machine has a processor for each. A prefix is judged only
# once its boot has ended, however long Wine's own wait for it was, so a
# slow boot beside another is no failure. The second one's lines follow the
# first one's, and each prefix's lines run whatever the other prefix did.
phases_32bit() {
  local second player_job
  second=$(mktemp)
  (
    use_prefix 64
    if prepare_prefix; then
      phases_32bit_player
    else
      fail "the 64-bit prefix$where could not be made"
    fi
    exit "$status"
  ) >"$second" 2>&1 &
  player_job=$!
  use_prefix 32
  if prepare_prefix; then
    phases_32bit_host
  else
    fail "the 32-bit prefix$where could not be made"
  fi
  wait "$player_job" || status=1
  cat "$second"
  rm -f "$second"
}

phases_64bit() {
  use_prefix 64
  prepare_prefix || { fail "the 64-bit prefix could not be made"; return; }
  ready_prefix "$x86_64_build/nirevo_e2e.exe" || { fail "the 64-bit prefix starts no player"; return; }
  cp "$x86_64_build/nirevo_e2e.exe" "$x86_64_build/nirevo_e2e_win98.exe"
  suite "64-bit host, 64-bit DLL, 64-bit player with titles above 4 GiB, NT (PSAPI)" \
    "$x86_64_build/nirevo_e2e.exe" "" --plain-dll="$plain_64"
  toolhelp_suite "64-bit host, 64-bit DLL, 64-bit player, Windows 98 (Toolhelp)" \
    "$x86_64_build/nirevo_e2e_win98.exe"
  "$wineserver" -k 2>/dev/null || true
}

if [ "${1:-}" = --only-32bit ]; then
  phases_32bit
elif runs_32bit; then
  phases_32bit
  phases_64bit
else
  # The emulated machine first: the 64-bit prefix it makes holds the 32-bit
  # half the 32-bit player needs, and serves the 64-bit lines here as it is,
  # where one made here first would be made again there.
  started=$SECONDS
  timeout=$(emulated_timeout)
  echo "32-bit phases: this machine's kernel runs no 32-bit code; booting the emulated machine (at most $timeout s)"
  emulated=0
  "$root/scripts/emulated-machine/run.sh" --timeout "$timeout" scripts/test-wine.sh --only-32bit ||
    emulated=$?
  emulated_verdict "$emulated"
  echo "32-bit phases in the emulated machine: $((SECONDS - started)) s"
  phases_64bit
fi
exit $status
