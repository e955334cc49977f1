#!/usr/bin/env bash
# Every test of nirevo: the native tests under ASan and UBSan, the Windows
# builds and their inspection, the release package, and the module driven for
# real under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

echo "== native tests (ASan, UBSan)"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native -j2

echo "== fuzz target (a bounded number of runs)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
corpus=$(mktemp -d)
cp fuzz/corpus/* "$corpus"
build/fuzz/nirevo_fuzz -runs=100000 -rss_limit_mb=4096 -artifact_prefix=build/fuzz/ "$corpus" 2>&1 | tail -n 2
rm -rf "$corpus"

echo "== Windows builds"
for preset in mingw-i686 mingw-i686-plain mingw-x86_64 mingw-x86_64-plain; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
scripts/inspect-dll.sh build/mingw-i686/nirevo.dll i686
scripts/inspect-dll.sh build/mingw-i686-plain/nirevo.dll i686 plain
scripts/inspect-dll.sh build/mingw-x86_64/nirevo.dll x86_64
scripts/inspect-dll.sh build/mingw-x86_64-plain/nirevo.dll x86_64 plain

echo "== release package"
(cd build/mingw-i686 && cpack -G ZIP >/dev/null)
python3 - build/mingw-i686/nirevo-*-i686.zip <<'PY'
import sys, zipfile
names = sorted(n.split('/', 1)[1] for n in zipfile.ZipFile(sys.argv[1]).namelist())
wanted = ['nirevo.dll', 'nirevo_license.txt', 'reference.md']
assert names == wanted, names
print('package:', sys.argv[1], names)
PY

echo "== end-to-end under Wine"
scripts/test-wine.sh
