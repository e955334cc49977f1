#!/usr/bin/env bash
# The main job: the shipped 32-bit nirevo.dll driven by the 32-bit saori-call
# against the 32-bit stand-in player, under Wine on a virtual display, as a
# ghost's host would drive it; each request and response is printed. On a
# machine whose kernel runs no 32-bit programs, the 64-bit builds stand in,
# unless --emulated asks for the shipped DLL in the emulated machine
# (scripts/emulated-machine/run.sh: a few minutes instead of seconds).
#   demo.sh [--emulated]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${NIREVO_DISPLAY_OWNED:-}${NIREVO_EMULATED_MACHINE:-}" ]; then
  scripts/install-deps.sh  # xvfb-run among them
fi
source scripts/wine-env.sh
if [ "${1:-}" = --emulated ] && [ -z "${NIREVO_EMULATED_MACHINE:-}" ] && ! runs_32bit; then
  echo "demo: this machine's kernel runs no 32-bit programs; the shipped DLL runs in the emulated machine"
  cmake --preset mingw-i686 >/dev/null
  cmake --build --preset mingw-i686 --target nirevo saori-call standin_player >/dev/null
  exec scripts/emulated-machine/run.sh --timeout 3600 scripts/demo.sh
fi
on_virtual_display "$0" "$@"

if runs_32bit; then
  bits=32 build=$i686_build
  preset=mingw-i686
  echo "demo: the shipped 32-bit nirevo.dll, 32-bit saori-call and player, in a 32-bit Wine prefix"
else
  bits=64 build=$x86_64_build
  preset=mingw-x86_64
  echo "demo: this machine's kernel runs no 32-bit programs, so the 64-bit DLL, saori-call and player stand in"
fi
if [ -z "${NIREVO_EMULATED_MACHINE:-}" ]; then  # there the host has built them
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target nirevo saori-call standin_player >/dev/null
fi
use_prefix "$bits"
prepare_prefix

dll=$build/nirevo.dll
saori_call=$build/saori-call.exe
call() { "$wine" "$saori_call" --echo "$dll" "$@" | tr -d '\r'; echo; }

"$wine" 'C:\Program Files\Winamp\winamp.exe' &
started=$SECONDS
bound=$((window_wait * wait_scale))
until "$wine" "$saori_call" "$dll" iswinamprun | grep -q 'Result: 1'; do
  if [ $((SECONDS - started)) -ge "$bound" ]; then
    echo "demo: waited for the stand-in player's window: gave up after $((SECONDS - started)) s (bound $bound s)" >&2
    exit 1
  fi
  sleep 0.1
done

echo "== Is the player running?";          call iswinamprun
echo "== The playlist";                    call getplaylist
echo "== Set the volume to 40 %";          call setvolume 40
echo "== ... and read it back";            call getvolume
echo "== Play track 2";                    call playtrack 2
echo "== ... and read its title";          call gettitle
echo "== Write the licence file";          call license
head -n 2 "$(dirname "$dll")/nirevo_license.txt" | tr -d '\r'
