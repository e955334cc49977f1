#!/usr/bin/env bash
# Measures the module: native benchmarks of its own cost on a costless
# simulated desktop, and under Wine the DLL next to a bare loop of the Win32
# calls it must make. Writes docs/benchmarks.md and docs/benchmarks.png.
#   bench.sh [ROUNDS]   (rounds of the side-by-side comparison, default 9)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-9}
scripts/install-deps.sh
command -v gnuplot >/dev/null || {
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends gnuplot-nox >/dev/null
}

out=build/bench-results
mkdir -p "$out"
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
build/bench/nirevo_bench --benchmark_min_time=0.5 --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true \
  --benchmark_out="$out/native.json" --benchmark_out_format=json >/dev/null

cmake --preset mingw-x86_64 >/dev/null
cmake --build --preset mingw-x86_64 --target nirevo nirevo_bench_host standin_player >/dev/null
source scripts/wine-env.sh
prepare_prefix
xvfb-run -a "$wine" "$x86_64_build/nirevo_bench_host.exe" "$rounds" 2>/dev/null >"$out/wine.tsv"
"$wineserver" -k 2>/dev/null || true

python3 scripts/bench_report.py "$out" "$rounds"
gnuplot "$out/plot.gp"
echo "bench: wrote docs/benchmarks.md and docs/benchmarks.png"
