#!/usr/bin/env bash
# The main job: builds the 64-bit module, the stand-in player and saori-call,
# starts the player under Wine on a virtual display, and runs a short session
# through saori-call, printing each request and response.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset mingw-x86_64 >/dev/null
cmake --build --preset mingw-x86_64 --target nirevo saori-call standin_player >/dev/null
source scripts/wine-env.sh
prepare_prefix

xvfb-run -a bash -s "$wine" "$x86_64_build" <<'SESSION'
wine=$1 build=$2
call() { "$wine" "$build/saori-call.exe" --echo "$build/nirevo.dll" "$@" | tr -d '\r'; echo; }

"$wine" 'C:\Program Files\Winamp\winamp.exe' &
for _ in $(seq 200); do  # at most 20 s for the player's window
  "$wine" "$build/saori-call.exe" "$build/nirevo.dll" iswinamprun | grep -q 'Result: 1' && break
  sleep 0.1
done

echo "== Is the player running?";          call iswinamprun
echo "== The playlist";                    call getplaylist
echo "== Set the volume to 40 %";          call setvolume 40
echo "== ... and read it back";            call getvolume
echo "== Play track 2";                    call playtrack 2
echo "== ... and read its title";          call gettitle
echo "== Write the licence file";          call license
head -n 2 "$(dirname "$build/nirevo.dll")/nirevo_license.txt" | tr -d '\r'
SESSION
"$wineserver" -k 2>/dev/null || true
