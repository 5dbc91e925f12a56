#!/usr/bin/env bash
# Builds and runs the benchmarks: Google Benchmark suites of the portable core
# on the host, and the benchmark drivers under Wine. Each driver reports its
# figures as ratios against a baseline measured in the same run.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh || exit 1
jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset host >/dev/null && cmake --build --preset host -j "$jobs" || exit 1
cmake --preset windows >/dev/null && cmake --build --preset windows -j "$jobs" || exit 1

for bench in build/host/qm_*_bench; do
  [ -x "$bench" ] || continue
  echo "==> $bench"
  "$bench" --benchmark_min_time=0.2
done

source scripts/wine-env.sh
qm_wine_env virtual || exit 1
trap '$QM_WINE_CLEANUP' EXIT
for bench in build/windows/qm_*_bench.exe; do
  [ -e "$bench" ] || continue
  echo "==> $bench"
  (cd build/windows && wine "$(basename "$bench")")
done
