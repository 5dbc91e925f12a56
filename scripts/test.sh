#!/usr/bin/env bash
# Builds Quillmere and runs every test suite: the portable core natively and
# under ASan/UBSan, then the Windows build under Wine (core tests again,
# Windows unit tests, end-to-end tests against the real program). Prints one
# summary line and exits non-zero if anything failed.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh || exit 1

jobs=$(nproc 2>/dev/null || echo 2)
status=0
step() { echo; echo "==> $*"; }

build() {
  local preset=$1
  step "build ($preset)"
  cmake --preset "$preset" >/dev/null || return 1
  cmake --build --preset "$preset" -j "$jobs" || return 1
}

run_ctest() {
  local preset=$1
  rm -rf "build/$preset/test-results"
  mkdir -p "build/$preset/test-results"
  step "tests ($preset)"
  ctest --preset "$preset" || status=1
}

for preset in host host-asan windows; do
  build "$preset" || { echo "build failed: $preset"; exit 1; }
done

run_ctest host
run_ctest host-asan

source scripts/wine-env.sh
qm_wine_env virtual || { echo "could not prepare Wine"; exit 1; }
trap '$QM_WINE_CLEANUP' EXIT
run_ctest windows

step "summary"
python3 scripts/test-summary.py build/host/test-results build/host-asan/test-results build/windows/test-results || status=1
exit $status
