#!/usr/bin/env bash
# The release rebuilds bit for bit. Every shipped binary carries no link time
# and no path of the tree it was built in; and the same sources, copied to
# another path and built again later in another time zone, give the same
# DLLs, tools and zip, byte for byte; and with SOURCE_DATE_EPOCH set, the zip
# is the same in every time zone, its entries dated in UTC.
#   check-reproducible.sh ZIP   (after scripts/test.sh's Windows builds)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
zip=$1
shipped=(mingw-i686/nirevo.dll mingw-i686-plain/nirevo.dll mingw-i686/saori-call.exe
         mingw-i686/nirevo-check.exe mingw-x86_64/nirevo.dll mingw-x86_64/saori-call.exe
         mingw-x86_64/nirevo-check.exe)

elsewhere=$(mktemp -d /tmp/nirevo-rebuild.XXXXXX)
trap 'rm -rf "$elsewhere"' EXIT

python3 - "$root" "${shipped[@]/#/build/}" <<'PY'
import struct, sys
root = sys.argv[1].encode()
for path in sys.argv[2:]:
    data = open(path, 'rb').read()
    pe = struct.unpack_from('<I', data, 0x3c)[0]
    assert data[pe:pe + 4] == b'PE\0\0', path
    stamp = struct.unpack_from('<I', data, pe + 8)[0]
    assert stamp == 0, f'{path}: link time {stamp:#x} in the PE header'
    for form in (root, root.decode().encode('utf-16-le')):
        assert form not in data, f'{path} names the tree it was built in'
PY

tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$elsewhere" -xf -
(
  cd "$elsewhere"
  export TZ=Asia/Tokyo
  for preset in mingw-i686 mingw-i686-plain mingw-x86_64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target nirevo saori-call nirevo-check >/dev/null
  done
  scripts/package.sh >/dev/null
)
for file in "${shipped[@]}" "${zip#build/}"; do
  if ! cmp -s "build/$file" "$elsewhere/build/$file"; then
    echo "reproducible: build/$file differs when built again in another place" >&2
    exit 1
  fi
done
# A time that falls on another day in Tokyo than in UTC. Each zone's zip is
# made with that zone in force, shown by the local day each one saw.
epoch=1780000000
days=()
for zone in UTC Asia/Tokyo; do
  days+=("$(
    export TZ=$zone
    SOURCE_DATE_EPOCH=$epoch scripts/package.sh "$elsewhere/dated-${zone//\//-}.zip" >/dev/null
    date -d "@$epoch" +%F
  )")
done
if [ "${days[0]}" = "${days[1]}" ]; then
  echo "reproducible: both dated zips were made on local day ${days[0]}: the time zones did not take effect" >&2
  exit 1
fi
if ! cmp -s "$elsewhere/dated-UTC.zip" "$elsewhere/dated-Asia-Tokyo.zip"; then
  echo "reproducible: with SOURCE_DATE_EPOCH=$epoch the zip differs between UTC and Asia/Tokyo" >&2
  exit 1
fi
python3 - "$elsewhere/dated-UTC.zip" "$epoch" <<'PY'
import sys, time, zipfile
wanted = time.gmtime(int(sys.argv[2]))[:5]
for entry in zipfile.ZipFile(sys.argv[1]).infolist():
    assert entry.date_time[:5] == wanted, f'{entry.filename} is dated {entry.date_time}, not {wanted} (UTC)'
PY
echo "reproducible: ${#shipped[@]} binaries and the zip, built again under another path, are byte for byte the same; with SOURCE_DATE_EPOCH the zip is the same in UTC and in Tokyo"
