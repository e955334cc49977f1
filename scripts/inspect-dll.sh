#!/usr/bin/env bash
# Inspects a built nirevo.dll: machine type, its own name, the exact export
# table, imports limited to DLLs that every Windows has, a version resource,
# and its size, at most 128 KiB.   inspect-dll.sh DLL i686|x86_64 [plain]
set -euo pipefail
dll=$1 arch=$2 plain=${3:-}
objdump=$arch-w64-mingw32-objdump
fail() { echo "inspect-dll: $dll: $*" >&2; exit 1; }

headers=$("$objdump" -p "$dll")
case $arch in
  i686) expected_format=pei-i386 ;;
  x86_64) expected_format=pei-x86-64 ;;
esac
"$objdump" -f "$dll" | grep -q "file format $expected_format" || fail "not $expected_format"

grep -q '^Name .* nirevo\.dll$' <<<"$headers" || fail "does not name itself nirevo.dll"

exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" |
  sed -n 's/^\s*\[\s*[0-9]*\] //p' | sort | tr '\n' ' ')
wanted="_load _request _unload "
[ -n "$plain" ] && wanted="_load _request _unload load request unload "
[ "$exports" = "$wanted" ] || fail "exports '$exports', wanted '$wanted'"

imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
for import in $imports; do
  case $import in
    kernel32.dll|user32.dll|msvcrt.dll) ;;
    *) fail "imports $import" ;;
  esac
done

"$objdump" -h "$dll" | grep -q '\.rsrc' || fail "has no resources"
python3 - "$dll" <<'PY' || fail "has no version resource"
import sys
data = open(sys.argv[1], 'rb').read()
sys.exit(0 if 'VS_VERSION_INFO'.encode('utf-16-le') in data
         and 'nirevo.dll'.encode('utf-16-le') in data else 1)
PY
size=$(stat -c %s "$dll")
max_size=131072
((size <= max_size)) || fail "is $size bytes, more than $max_size"
echo "inspect-dll: $dll ($expected_format, $size bytes): exports ${exports% }; imports ${imports% }"
