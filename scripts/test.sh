#!/usr/bin/env bash
# Every test of nirevo: the native tests under ASan and UBSan, the fuzz
# target, the Windows builds and their inspection, the module driven for real
# under Wine, and the release package.
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
fuzz_log=build/fuzz/last-run.log
cp fuzz/corpus/* "$corpus"
if build/fuzz/nirevo_fuzz -runs=100000 -rss_limit_mb=4096 -artifact_prefix=build/fuzz/ "$corpus" \
     >"$fuzz_log" 2>&1; then
  tail -n 2 "$fuzz_log"
else
  cat "$fuzz_log"
  echo "fuzz target: failed; the whole run is above and in $fuzz_log"
  exit 1
fi
rm -rf "$corpus"

echo "== Windows builds"
for preset in mingw-i686 mingw-i686-plain mingw-i686-tests mingw-x86_64 mingw-x86_64-plain; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
scripts/inspect-dll.sh build/mingw-i686/nirevo.dll i686
scripts/inspect-dll.sh build/mingw-i686-plain/nirevo.dll i686 plain
scripts/inspect-dll.sh build/mingw-x86_64/nirevo.dll x86_64
scripts/inspect-dll.sh build/mingw-x86_64-plain/nirevo.dll x86_64 plain

echo "== end-to-end under Wine"
scripts/test-wine.sh

echo "== release package"
zip=$(scripts/package.sh)
python3 - "$zip" <<'PY'
import hashlib, sys, zipfile
archive = zipfile.ZipFile(sys.argv[1])
top = archive.namelist()[0].split('/', 1)[0]
names = sorted(n.split('/', 1)[1] for n in archive.namelist())
wanted = sorted(['nirevo.dll', 'plain/nirevo.dll', 'plain/README.txt', 'saori-call.exe', 'nirevo-check.exe',
                 'nirevo_license.txt', 'reference.txt', 'reference.ja.txt'])
assert names == wanted, names
# The DLL in the zip is byte for byte the one the 32-bit phases loaded.
tested = open('build/mingw-i686/nirevo.dll', 'rb').read()
assert archive.read(f'{top}/nirevo.dll') == tested, 'the zip holds another nirevo.dll'
assert archive.read(f'{top}/plain/nirevo.dll') == open('build/mingw-i686-plain/nirevo.dll', 'rb').read()
# Text for Windows' Notepad: a UTF-8 byte-order mark and CR LF line ends only,
# and otherwise each text exactly as its source.
sources = {'plain/README.txt': 'docs/plain-readme.txt', 'nirevo_license.txt': 'LICENSE',
           'reference.txt': 'docs/reference.md', 'reference.ja.txt': 'docs/reference.ja.md'}
assert sorted(sources) == [name for name in names if name.endswith('.txt')]
for name, source in sources.items():
    text = archive.read(f'{top}/{name}')
    assert text.startswith(b'\xef\xbb\xbf'), name
    assert text.count(b'\n') == text.count(b'\r\n') > 0, name
    assert text[3:].replace(b'\r\n', b'\n') == open(source, 'rb').read(), f'{name} is not {source}'
print(f'package: {sys.argv[1]}: {", ".join(names)}; nirevo.dll {len(tested):,} bytes, '
      f'sha256 {hashlib.sha256(tested).hexdigest()[:16]}…')
PY
scripts/check-reproducible.sh "$zip"
