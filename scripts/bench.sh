#!/usr/bin/env bash
# Measures the module: native benchmarks of its own cost on a costless
# simulated desktop, and under Wine the DLL next to a bare loop of the Win32
# calls it must make: the 64-bit DLL, and the shipped 32-bit one where this
# machine runs 32-bit programs, else in the emulated machine, where only the
# ratio of the two means anything. Writes docs/benchmarks.md and
# docs/benchmarks.png.
#   bench.sh [ROUNDS]   (rounds of the side-by-side comparison, default 9)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${NIREVO_DISPLAY_OWNED:-}${NIREVO_EMULATED_MACHINE:-}" ]; then  # xvfb-run among them
  scripts/install-deps.sh
  command -v gnuplot >/dev/null || {
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends gnuplot-nox >/dev/null
  }
fi
source scripts/wine-env.sh
on_virtual_display "$0" "$@"
out=build/bench-results

# The shipped DLL side by side with the bare calls, in the 32-bit prefix.
measure_32bit() {
  use_prefix 32
  prepare_prefix
  "$wine" "$i686_tests_build/nirevo_bench_host.exe" "$1" \
    "$(windows_path "$i686_build/nirevo.dll")" 2>/dev/null >"$out/wine32.tsv"
  "$wineserver" -k 2>/dev/null || true
}
if [ "${1:-}" = --only-32bit ]; then  # inside the emulated machine
  measure_32bit "$2"
  exit
fi
rounds=${1:-9}

rm -rf "$out"
mkdir -p "$out"
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
build/bench/nirevo_bench --benchmark_min_time=0.5 --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true \
  --benchmark_out="$out/native.json" --benchmark_out_format=json >/dev/null

for preset in mingw-i686 mingw-i686-tests; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" >/dev/null
done
if runs_32bit; then
  machine="a machine whose kernel executes 32-bit programs"
  measure_32bit "$rounds"
else
  machine="a machine whose kernel does not execute 32-bit programs (the 32-bit table in the emulated machine)"
  echo emulated >"$out/wine32.where"
  scripts/emulated-machine/run.sh --timeout 3600 scripts/bench.sh --only-32bit "$rounds"
fi
cmake --preset mingw-x86_64 >/dev/null
cmake --build --preset mingw-x86_64 --target nirevo nirevo_bench_host standin_player >/dev/null
use_prefix 64
prepare_prefix
"$wine" "$x86_64_build/nirevo_bench_host.exe" "$rounds" 2>/dev/null >"$out/wine64.tsv"

python3 scripts/bench_report.py "$out" "$rounds" "$machine"
gnuplot "$out/plot.gp"
echo "bench: wrote docs/benchmarks.md and docs/benchmarks.png"
