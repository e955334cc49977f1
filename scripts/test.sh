#!/usr/bin/env bash
# Every test of nirevo: the native tests under ASan and UBSan, the fuzz
# target, the Windows builds and their inspection, the module driven for real
# under Wine, and the release package.
set -euo pipefail
cd "$(dirname "$0")/.."
# CI gives the whole command 90 minutes; the parts that can take long (the
# emulated machine) fit their time-outs within this deadline.
export NIREVO_DEADLINE=${NIREVO_DEADLINE:-$(($(date +%s) + 85 * 60))}

# part NAME: starts the part NAME, saying how long the one before took.
part() {
  [ -z "${part_name:-}" ] || echo "-- $part_name: $((SECONDS - part_started)) s"
  part_name=$1 part_started=$SECONDS
  [ -z "$part_name" ] || echo "== $part_name"
}

part "packages"
scripts/install-deps.sh

part "native tests (ASan, UBSan)"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native -j2

part "fuzz target (a bounded number of runs)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
corpus=$(mktemp -d)
fuzz_log=build/fuzz/last-run.log
cp fuzz/corpus/* "$corpus"
# Bounded by the number of runs; -timeout bounds one input (libFuzzer's own
# default, said here).
if build/fuzz/nirevo_fuzz -runs=100000 -timeout=1200 -rss_limit_mb=4096 -artifact_prefix=build/fuzz/ "$corpus" \
     >"$fuzz_log" 2>&1; then
  tail -n 2 "$fuzz_log"
else
  cat "$fuzz_log"
  echo "fuzz target: failed; the whole run is above and in $fuzz_log"
  exit 1
fi
rm -rf "$corpus"

part "Windows builds"
for preset in mingw-i686 mingw-i686-plain mingw-i686-tests mingw-x86_64 mingw-x86_64-plain; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
scripts/inspect-dll.sh build/mingw-i686/nirevo.dll i686
scripts/inspect-dll.sh build/mingw-i686-plain/nirevo.dll i686 plain
scripts/inspect-dll.sh build/mingw-x86_64/nirevo.dll x86_64
scripts/inspect-dll.sh build/mingw-x86_64-plain/nirevo.dll x86_64 plain

part "the end-to-end harness"
scripts/check-harness.sh

part "end-to-end under Wine"
# Any FAIL line fails the command, whatever status the part gave, and so
# does a listed line without its PASS line; after a failure the package
# checks still run, to say all that is wrong at once.
wine_log=build/test-wine.log
wine_failed=
scripts/test-wine.sh 2>&1 | tee "$wine_log" || wine_failed=yes
# Green needs every listed line's PASS line too (scripts/e2e-lines.sh).
(source scripts/wine-env.sh && source scripts/wine-phases.sh && e2e_verdict "$wine_log") ||
  wine_failed=yes

part "release package"
zip=$(scripts/package.sh)
python3 - "$zip" <<'PY'
import hashlib, os, re, struct, sys, zipfile
archive = zipfile.ZipFile(sys.argv[1])
# The zip and its one top folder are named after the whole version the
# project declares.
version = re.search(r'^project\(nirevo VERSION ([0-9]+(?:\.[0-9]+)*)', open('CMakeLists.txt').read(), re.M)[1]
assert os.path.basename(sys.argv[1]) == f'nirevo-{version}-win32.zip', f'{sys.argv[1]} is not named after version {version}'
tops = {name.split('/', 1)[0] for name in archive.namelist()}
assert tops == {f'nirevo-{version}'}, f'top folders {sorted(tops)}, not nirevo-{version}'
top = f'nirevo-{version}'
names = sorted(n.split('/', 1)[1] for n in archive.namelist())
wanted = sorted(['nirevo.dll', 'plain/nirevo.dll', 'plain/README.txt', 'saori-call.exe', 'nirevo-check.exe',
                 'nirevo_license.txt', 'reference.txt', 'reference.ja.txt'])
assert names == wanted, names
# Every program in the zip is 32-bit and byte for byte the file of the 32-bit
# build it comes from, the one the 32-bit phases ran.
builds = {'nirevo.dll': 'build/mingw-i686/nirevo.dll', 'plain/nirevo.dll': 'build/mingw-i686-plain/nirevo.dll',
          'saori-call.exe': 'build/mingw-i686/saori-call.exe',
          'nirevo-check.exe': 'build/mingw-i686/nirevo-check.exe'}
assert sorted(builds) == [name for name in names if name.endswith(('.dll', '.exe'))]
for name, build in builds.items():
    packed = archive.read(f'{top}/{name}')
    pe = struct.unpack_from('<I', packed, 0x3c)[0]
    machine = struct.unpack_from('<H', packed, pe + 4)[0]
    assert packed[pe:pe + 4] == b'PE\0\0' and machine == 0x14c, f'{name} is not 32-bit (machine {machine:#x})'
    assert packed == open(build, 'rb').read(), f'the zip holds another {name} than {build}'
tested = open(builds['nirevo.dll'], 'rb').read()
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
part ""
echo "-- all: $SECONDS s"
if [ -n "$wine_failed" ]; then
  echo "end-to-end under Wine: failed; see the FAIL lines above and $wine_log"
  exit 1
fi
